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

namespace tv {
namespace {

QWidget* createControl(QWidget* parent, const ControlSpec& control)
{
    const QString caption = QString::fromUtf8(control.caption);
    using Kind = ControlSpec::Kind;
    switch (control.kind) {
    case Kind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case Kind::Edit: return new QLineEdit(parent);
    case Kind::RightEdit: {
        auto* edit = new QLineEdit(parent);
        edit->setAlignment(Qt::AlignRight);
        return edit;
    }
    case Kind::Button: return new QPushButton(caption, parent);
    case Kind::DefaultButton: {
        auto* button = new QPushButton(caption, parent);
        button->setDefault(true);
        button->setAutoDefault(true);
        return button;
    }
    case Kind::Radio: return new QRadioButton(caption, parent);
    case Kind::Check: return new QCheckBox(caption, parent);
    case Kind::Group: return new QGroupBox(caption, parent);
    case Kind::Combo: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        return combo;
    }
    case Kind::List: {
        auto* list = new QTreeWidget(parent);
        list->setRootIsDecorated(false);
        return list;
    }
    case Kind::TextArea: return new QPlainTextEdit(parent);
    }
    return nullptr;
}

bool hasCaptionToFit(ControlSpec::Kind kind)
{
    using Kind = ControlSpec::Kind;
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
            if (j == i || controls[j].kind == ControlSpec::Kind::Group)
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

std::vector<QWidget*> createControls(QWidget* parent, const DialogUnits& units,
                                     std::span<const ControlSpec> controls)
{
    // Captions fit their controls only in the font the units were measured in.
    parent->setFont(units.font());
    std::vector<QWidget*> widgets;
    widgets.reserve(controls.size());
    for (const auto& control : controls) {
        QWidget* widget = createControl(parent, control);
        QRect area = units.rect(control.x, control.y, control.width, control.height);
        // A drop-down's height in a template includes its open list; the closed box keeps
        // its natural height.
        if (control.kind == ControlSpec::Kind::Combo)
            area.setHeight(widget->sizeHint().height());
        widget->setGeometry(area);
        widgets.push_back(widget);
    }
    widenCaptions(parent, controls, widgets);
    return widgets;
}

}  // namespace tv
