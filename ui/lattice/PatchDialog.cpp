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
using Controls = PatchDialog::Controls;

// A drop-down's height here includes its open list.
constexpr auto patchControls = controlTable<Controls>({
    {Kind::DefaultButton, "OK", 129, 7, 50, 14, &Controls::okButton},
    {Kind::Button, "Cancel", 129, 24, 50, 14, &Controls::cancelButton},
    {Kind::Combo, "", 7, 20, 110, 92, &Controls::groupList},
    {Kind::Label, "Group:", 7, 9, 34, 8, &Controls::groupLabel},
    {Kind::Combo, "", 7, 49, 110, 70, &Controls::programList},
    {Kind::Label, "Program:", 7, 38, 34, 8, &Controls::programLabel},
});

// Typing in a list's edit field must never pick an item. A list looks its typed text up on
// Enter and when it loses the focus, and picks the item that matches; so there is no
// completion, Enter is taken by the dialog and the field is put back to the picked item
// before the focus leaves (see eventFilter). The list has the focus and hands keys and
// focus changes on to its field, so both are watched.
void keepTypingFromPicking(QComboBox* list, QObject* dialog)
{
    list->setCompleter(nullptr);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->installEventFilter(dialog);
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

    controls_ = createControls(this, units, patchControls);
    keepTypingFromPicking(controls_.groupList, this);
    keepTypingFromPicking(controls_.programList, this);
    fitOpenList(controls_.groupList, units, patchControls.rowOf(&Controls::groupList).height);
    fitOpenList(controls_.programList, units, patchControls.rowOf(&Controls::programList).height);

    for (const auto& group : gmGroups)
        controls_.groupList->addItem(QString::fromUtf8(group.name));

    const auto [first, last] = findGroup("ALL");
    groupFirst_ = first;
    fillPrograms(first, last);
    controls_.groupList->setCurrentIndex(0);
    // A patch beyond the list selects nothing and stays the working choice.
    const int item = patch - first;
    controls_.programList->setCurrentIndex(item >= 0 && item < controls_.programList->count() ? item
                                                                                              : -1);
    controls_.programList->setFocus();

    connect(controls_.groupList, &QComboBox::activated, this, &PatchDialog::pickGroup);
    connect(controls_.programList, &QComboBox::activated, this, &PatchDialog::pickProgram);
    connect(controls_.okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(controls_.cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

int PatchDialog::patch() const { return result() == Accepted ? workingPatch_ : initialPatch_; }

bool PatchDialog::eventFilter(QObject* watched, QEvent* event)
{
    QComboBox* list = nullptr;
    for (QComboBox* candidate : {controls_.groupList, controls_.programList}) {
        if (watched == candidate || watched == candidate->lineEdit())
            list = candidate;
    }
    if (!list)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Enter presses the default button, as anywhere else in the dialog.
            keyPressEvent(key);
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        list->setEditText(list->itemText(list->currentIndex()));
    }
    return QDialog::eventFilter(watched, event);
}

void PatchDialog::fillPrograms(int first, int last)
{
    controls_.programList->clear();
    for (int p = first; p <= last; ++p)
        controls_.programList->addItem(QString::fromStdString(programName(p)));
}

void PatchDialog::pickGroup(int item)
{
    if (item >= 0) {
        const auto [first, last] = findGroup(controls_.groupList->itemText(item).toStdString());
        if (first < 0)
            return;
        groupFirst_ = first;
        fillPrograms(first, last);
        workingPatch_ = first;
    }
    controls_.programList->setCurrentIndex(0);
    controls_.programList->setFocus();
}

void PatchDialog::pickProgram(int item)
{
    if (item >= 0)
        workingPatch_ = groupFirst_ + item;
}

}  // namespace tv
