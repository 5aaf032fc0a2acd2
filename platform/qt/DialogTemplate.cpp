#include "platform/qt/DialogTemplate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <algorithm>
#include <type_traits>
#include <vector>

namespace tv {
namespace {

using Kind = ControlSpec::Kind;

// One maker per widget class; the kind chooses among the variants a class serves.
QLabel* make(std::type_identity<QLabel>, QWidget* parent, const ControlSpec& control)
{
    auto* label = new QLabel(QString::fromUtf8(control.caption), parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLineEdit* make(std::type_identity<QLineEdit>, QWidget* parent, const ControlSpec& control)
{
    auto* edit = new QLineEdit(parent);
    if (control.kind == Kind::RightEdit)
        edit->setAlignment(Qt::AlignRight);
    return edit;
}

QPushButton* make(std::type_identity<QPushButton>, QWidget* parent, const ControlSpec& control)
{
    auto* button = new QPushButton(QString::fromUtf8(control.caption), parent);
    if (control.kind == Kind::DefaultButton) {
        button->setDefault(true);
        button->setAutoDefault(true);
    }
    return button;
}

QRadioButton* make(std::type_identity<QRadioButton>, QWidget* parent, const ControlSpec& control)
{
    return new QRadioButton(QString::fromUtf8(control.caption), parent);
}

QCheckBox* make(std::type_identity<QCheckBox>, QWidget* parent, const ControlSpec& control)
{
    return new QCheckBox(QString::fromUtf8(control.caption), parent);
}

QGroupBox* make(std::type_identity<QGroupBox>, QWidget* parent, const ControlSpec& control)
{
    return new QGroupBox(QString::fromUtf8(control.caption), parent);
}

QComboBox* make(std::type_identity<QComboBox>, QWidget* parent, const ControlSpec&)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

QTreeWidget* make(std::type_identity<QTreeWidget>, QWidget* parent, const ControlSpec&)
{
    auto* list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    return list;
}

QPlainTextEdit* make(std::type_identity<QPlainTextEdit>, QWidget* parent, const ControlSpec&)
{
    return new QPlainTextEdit(parent);
}

// Makes the control of the slot's class and stores it there.
QWidget* createControl(QWidget* parent, const ControlSpec& control, const ControlSlot& slot)
{
    return std::visit(
        [&](auto** field) -> QWidget* {
            using Widget = std::remove_pointer_t<std::remove_reference_t<decltype(*field)>>;
            Widget* widget = make(std::type_identity<Widget>{}, parent, control);
            *field = widget;
            return widget;
        },
        slot);
}

bool hasCaptionToFit(Kind kind)
{
    return kind == Kind::Label || kind == Kind::Radio || kind == Kind::Check;
}

// A stand-in font can be wider than the one a layout was designed in. A caption that would
// be cut off grows to the right into free space: up to the next control on its row, or the
// dialog's edge.
void widenCaptions(QWidget* parent, std::span<const ControlSpec> controls,
                   const std::vector<QWidget*>& widgets)
{
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        QWidget* widget = widgets[i];
        // Labels laid out over several lines wrap instead.
        const bool multiLine = widget->height() >= 2 * widget->fontMetrics().height();
        if (!hasCaptionToFit(controls[i].kind) || multiLine)
            continue;
        const int wanted = widget->sizeHint().width();
        QRect area = widget->geometry();
        if (wanted <= area.width())
            continue;
        int limit = parent->width() > 0 ? parent->width() : area.left() + wanted;
        for (std::size_t j = 0; j < widgets.size(); ++j) {
            const QRect other = widgets[j]->geometry();
            if (j == i || controls[j].kind == Kind::Group)
                continue;
            const bool sameRow = other.top() < area.bottom() && other.bottom() > area.top();
            if (sameRow && other.left() >= area.right())
                limit = std::min(limit, other.left() - 1);
        }
        area.setWidth(std::max(area.width(), std::min(wanted, limit - area.left())));
        widget->setGeometry(area);
    }
}

}  // namespace

namespace detail {

void createControls(QWidget* parent, const DialogUnits& units, std::span<const ControlSpec> specs,
                    std::span<const ControlSlot> destinations)
{
    // Captions fit their controls only in the font the units were measured in.
    parent->setFont(units.font());
    std::vector<QWidget*> widgets;
    widgets.reserve(specs.size());
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const ControlSpec& control = specs[i];
        QWidget* widget = createControl(parent, control, destinations[i]);
        QRect area = units.rect(control.x, control.y, control.width, control.height);
        // A drop-down's height in a template includes its open list; the closed box keeps
        // its natural height.
        if (control.kind == Kind::Combo)
            area.setHeight(widget->sizeHint().height());
        widget->setGeometry(area);
        widgets.push_back(widget);
    }
    widenCaptions(parent, specs, widgets);
}

}  // namespace detail
}  // namespace tv
