#include "ui/lattice/PatchDialog.h"

#include "core/midi/GeneralMidi.h"
#include "platform/qt/DialogTemplate.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <array>

namespace tv {
namespace {

using Kind = ControlSpec::Kind;

// A drop-down's height here includes its open list.
constexpr std::array patchControls{
    ControlSpec{Kind::DefaultButton, "OK", 129, 7, 50, 14},
    ControlSpec{Kind::Button, "Cancel", 129, 24, 50, 14},
    ControlSpec{Kind::Combo, "", 7, 20, 110, 92},
    ControlSpec{Kind::Label, "Group:", 7, 9, 34, 8},
    ControlSpec{Kind::Combo, "", 7, 49, 110, 70},
    ControlSpec{Kind::Label, "Program:", 7, 38, 34, 8},
};

// Typing in a list's edit field must never pick an item: no completion, and Enter is taken
// by the dialog (see eventFilter) before the list could look the typed text up.
void keepTypingFromPicking(QComboBox* list, QObject* dialog)
{
    list->setCompleter(nullptr);
    list->lineEdit()->installEventFilter(dialog);
}

// Shows as many rows of the open list as the height the dialog gives it.
void fitOpenList(QComboBox* list, const DialogUnits& units, int heightUnits)
{
    const int rowHeight = list->fontMetrics().height() + 2;
    const int openHeight = units.y(heightUnits) - list->height();
    list->setMaxVisibleItems(std::max(1, openHeight / rowHeight));
}

}  // namespace

PatchDialog::PatchDialog(int patch, QWidget* parent)
    : QDialog(parent), initialPatch_(patch), workingPatch_(patch)
{
    setWindowTitle(QStringLiteral("Set patch for lattice"));
    setFont(DialogUnits::dialogFont());
    const DialogUnits units(font());
    setFixedSize(units.size(186, 126));

    const auto controls = createControls(this, units, patchControls);
    okButton_ = static_cast<QPushButton*>(controls[0]);
    cancelButton_ = static_cast<QPushButton*>(controls[1]);
    groupList_ = static_cast<QComboBox*>(controls[2]);
    programList_ = static_cast<QComboBox*>(controls[4]);
    keepTypingFromPicking(groupList_, this);
    keepTypingFromPicking(programList_, this);
    fitOpenList(groupList_, units, patchControls[2].height);
    fitOpenList(programList_, units, patchControls[4].height);

    for (const auto& group : gmGroups)
        groupList_->addItem(QString::fromUtf8(group.name));

    const auto [first, last] = findGroup("ALL");
    groupFirst_ = first;
    fillPrograms(first, last);
    groupList_->setCurrentIndex(0);
    // A patch beyond the list selects nothing and stays the working choice.
    const int item = patch - first;
    programList_->setCurrentIndex(item >= 0 && item < programList_->count() ? item : -1);
    programList_->setFocus();

    connect(groupList_, &QComboBox::activated, this, &PatchDialog::pickGroup);
    connect(programList_, &QComboBox::activated, this, &PatchDialog::pickProgram);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

int PatchDialog::patch() const { return result() == Accepted ? workingPatch_ : initialPatch_; }

bool PatchDialog::eventFilter(QObject* watched, QEvent* event)
{
    const bool inListEdit =
        watched == groupList_->lineEdit() || watched == programList_->lineEdit();
    if (inListEdit && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Enter presses the default button, as anywhere else in the dialog.
            keyPressEvent(key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PatchDialog::fillPrograms(int first, int last)
{
    programList_->clear();
    for (int p = first; p <= last; ++p)
        programList_->addItem(QString::fromStdString(programName(p)));
}

void PatchDialog::pickGroup(int item)
{
    if (item >= 0) {
        const auto [first, last] = findGroup(groupList_->itemText(item).toStdString());
        if (first < 0)
            return;
        groupFirst_ = first;
        fillPrograms(first, last);
        workingPatch_ = first;
    }
    programList_->setCurrentIndex(0);
    programList_->setFocus();
}

void PatchDialog::pickProgram(int item)
{
    if (item >= 0)
        workingPatch_ = groupFirst_ + item;
}

}  // namespace tv
