#include "platform/DialogTemplate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace tv {
namespace {

QWidget* createControl(QWidget* parent, const ControlSpec& spec)
{
    const QString caption = QString::fromUtf8(spec.caption);
    using Kind = ControlSpec::Kind;
    switch (spec.kind) {
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

}  // namespace

std::vector<QWidget*> createControls(QWidget* parent, const DialogUnits& units,
                                     std::span<const ControlSpec> controls)
{
    std::vector<QWidget*> widgets;
    widgets.reserve(controls.size());
    for (const auto& spec : controls) {
        QWidget* widget = createControl(parent, spec);
        QRect area = units.rect(spec.x, spec.y, spec.width, spec.height);
        // A drop-down's height in a template includes its open list; the closed box keeps
        // its natural height.
        if (spec.kind == ControlSpec::Kind::Combo)
            area.setHeight(widget->sizeHint().height());
        widget->setGeometry(area);
        widgets.push_back(widget);
    }
    return widgets;
}

}  // namespace tv
