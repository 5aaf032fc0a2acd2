#pragma once

#include "platform/qt/DialogUnits.h"

#include <array>
#include <cstddef>
#include <span>
#include <variant>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QWidget;

namespace tv {

// One control of a dialog: its kind, caption and place in dialog units.
struct ControlSpec {
    enum class Kind {
        Label,
        Edit,
        RightEdit,  // right-aligned edit
        Button,
        DefaultButton,
        Radio,  // the dialog keeps its radio buttons in one group
        Check,
        Group,     // a frame with a caption
        Combo,     // drop-down list with an edit field
        List,      // report-style list
        TextArea,  // multi-line edit
    };
    Kind kind;
    const char* caption;
    int x, y, width, height;
};

// One alternative per widget class that a kind creates, in one order for every use.
template <template <typename> class Of>
using PerControlClass =
    std::variant<Of<QLabel>, Of<QLineEdit>, Of<QPushButton>, Of<QRadioButton>, Of<QCheckBox>,
                 Of<QGroupBox>, Of<QComboBox>, Of<QTreeWidget>, Of<QPlainTextEdit>>;

template <typename Widget>
using SlotOf = Widget**;
// Where a created control is stored.
using ControlSlot = PerControlClass<SlotOf>;

template <typename Controls>
struct FieldOf {
    template <typename Widget>
    using Type = Widget* Controls::*;
};
// The field of a dialog's Controls (a struct of one widget pointer per control) that a row
// fills.
template <typename Controls>
using ControlField = PerControlClass<FieldOf<Controls>::template Type>;

template <typename Widget>
constexpr std::size_t classIndex = ControlSlot(std::in_place_type<Widget**>).index();

// The widget class a kind creates, as the alternative of ControlSlot it is stored in.
constexpr std::size_t widgetClassOf(ControlSpec::Kind kind)
{
    using Kind = ControlSpec::Kind;
    switch (kind) {
    case Kind::Label: return classIndex<QLabel>;
    case Kind::Edit:
    case Kind::RightEdit: return classIndex<QLineEdit>;
    case Kind::Button:
    case Kind::DefaultButton: return classIndex<QPushButton>;
    case Kind::Radio: return classIndex<QRadioButton>;
    case Kind::Check: return classIndex<QCheckBox>;
    case Kind::Group: return classIndex<QGroupBox>;
    case Kind::Combo: return classIndex<QComboBox>;
    case Kind::List: return classIndex<QTreeWidget>;
    case Kind::TextArea: return classIndex<QPlainTextEdit>;
    }
    return std::variant_npos;
}

// A row of a dialog's table: a control and the field of the dialog's Controls it fills.
template <typename Controls>
struct ControlRow {
    ControlSpec::Kind kind;
    const char* caption;
    int x, y, width, height;
    ControlField<Controls> field;
};

namespace detail {
// Never defined and not constexpr: a table that breaks a rule reaches one of these while it is
// built at compile time, and the build fails naming the rule.
void rowKindDoesNotMatchItsField();
void rowFillsNoField();
void twoRowsFillTheSameField();
void noRowFillsThisField();

void createControls(QWidget* parent, const DialogUnits& units, std::span<const ControlSpec> specs,
                    std::span<const ControlSlot> destinations);
}  // namespace detail

// A dialog's table of controls, checked when it is compiled: each row's kind creates the
// widget class of its field, and every field of Controls is filled by exactly one row.
// Controls are created in table order, which is also the Tab order.
template <typename Controls, std::size_t N>
class ControlTable {
public:
    consteval explicit ControlTable(const ControlRow<Controls> (&rows)[N])
    {
        // With distinct fields, as many rows as pointers in Controls means every field is filled.
        static_assert(sizeof(Controls) == N * sizeof(QWidget*),
                      "a dialog's Controls holds one widget pointer per row of its table");
        for (std::size_t i = 0; i < N; ++i) {
            const ControlRow<Controls>& row = rows[i];
            if (std::visit([](auto field) { return field == nullptr; }, row.field))
                detail::rowFillsNoField();
            if (row.field.index() != widgetClassOf(row.kind))
                detail::rowKindDoesNotMatchItsField();
            for (std::size_t j = 0; j < i; ++j) {
                if (rows[j].field == row.field)
                    detail::twoRowsFillTheSameField();
            }
            specs_[i] = {row.kind, row.caption, row.x, row.y, row.width, row.height};
            fields_[i] = row.field;
        }
    }

    std::span<const ControlSpec, N> specs() const { return specs_; }
    std::span<const ControlField<Controls>, N> fields() const { return fields_; }

    // The row that fills `field` (every field has one).
    template <typename Widget>
    consteval const ControlSpec& rowOf(Widget* Controls::*field) const
    {
        for (std::size_t i = 0; i < N; ++i) {
            if (fields_[i] == ControlField<Controls>(field))
                return specs_[i];
        }
        detail::noRowFillsThisField();
        return specs_[0];
    }

private:
    std::array<ControlSpec, N> specs_{};
    std::array<ControlField<Controls>, N> fields_{};
};

// Builds a checked table; the number of rows comes from the list.
template <typename Controls, std::size_t N>
consteval ControlTable<Controls, N> controlTable(const ControlRow<Controls> (&rows)[N])
{
    return ControlTable<Controls, N>(rows);
}

// Creates the controls of `table` as children of `parent` and gives each back in its field.
template <typename Controls, std::size_t N>
Controls createControls(QWidget* parent, const DialogUnits& units,
                        const ControlTable<Controls, N>& table)
{
    Controls controls{};
    std::array<ControlSlot, N> destinations;
    for (std::size_t i = 0; i < N; ++i) {
        destinations[i] =
            std::visit([&controls](auto field) -> ControlSlot { return &(controls.*field); },
                       table.fields()[i]);
    }
    detail::createControls(parent, units, table.specs(), destinations);
    return controls;
}

}  // namespace tv
