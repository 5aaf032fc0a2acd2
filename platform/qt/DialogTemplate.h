#pragma once

#include "platform/qt/DialogUnits.h"

#include <span>
#include <vector>

class QWidget;

namespace tv {

// One control of a dialog: its kind, caption and place in dialog units. A dialog's controls
// are a short table of these; they are created in table order, which is also the Tab order.
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

// Creates the controls as children of `parent` and gives them back in table order.
std::vector<QWidget*> createControls(QWidget* parent, const DialogUnits& units,
                                     std::span<const ControlSpec> controls);

}  // namespace tv
