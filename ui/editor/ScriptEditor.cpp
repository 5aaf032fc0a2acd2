#include "ui/editor/ScriptEditor.h"

#include "core/keyboard/KeySlotScripts.h"
#include "core/keyboard/KeySlots.h"
#include "core/script/ScriptCompiler.h"
#include "platform/qt/DialogTemplate.h"
#include "platform/qt/MessageService.h"
#include "ui/common/AppServices.h"
#include "ui/editor/ScriptInsertions.h"
#include "ui/editor/ScriptPrinting.h"
#include "ui/editor/SlotText.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScreen>
#include <QTextDocument>
#include <QTreeWidget>

#include <algorithm>
#include <iterator>

namespace tv {
namespace {

// The editor whose text field last received the focus; null once it is gone.
ScriptEditor* currentEditor = nullptr;

using Kind = ControlSpec::Kind;
using Controls = ScriptEditor::Controls;

// The lists and the text field lie where a 401 x 258 unit layout puts them; the warnings lie
// beneath the text, in a window that much taller.
constexpr auto editorControls = controlTable<Controls>({
    {Kind::Combo, "", 7, 7, 65, 80, &Controls::commands},
    {Kind::Combo, "", 75, 7, 42, 80, &Controls::dynamics},
    {Kind::Combo, "", 121, 7, 60, 80, &Controls::noteValues},
    {Kind::TextArea, "", 7, 23, 387, 228, &Controls::text},
    {Kind::List, "", 7, 255, 387, 44, &Controls::warnings},
});
constexpr int clientWidth = 401;
constexpr int clientHeight = 303;

// A warning item keeps the place of its word in the text field's document.
constexpr int positionRole = Qt::UserRole;

// 12-point "Courier New", or the system's monospaced font where that face is missing.
QFont scriptFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setPointSize(12);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // What the face turned out to be: the font database's pitch flag is not to be trusted.
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(QLatin1Char('i')) == metrics.horizontalAdvance(QLatin1Char('W')))
        return font;
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(12);
    return fixed;
}

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ScriptEditor::ScriptEditor(AppServices& services, KeySlots& keySlots, const QString& caption,
                           int slot, QWidget* owner)
    : QMainWindow(owner, Qt::Window), services_(services), slots_(keySlots), slot_(slot),
      canSave_(keySlots.slotAt(slot) != nullptr),
      printDialogs_(std::make_unique<SystemPrintDialogs>())
{
    setAttribute(Qt::WA_DeleteOnClose);
    services_.listeners().registerListener(this);
    setWindowTitle(caption + titleSuffix);

    auto* client = new QWidget(this);
    setCentralWidget(client);
    const DialogUnits units(DialogUnits::dialogFont());
    controls_ = createControls(client, units, editorControls);
    menus_ =
        new ScriptEditorMenus(menuBar(), [this](EditorCommand command) { runCommand(command); });
    menus_->action(EditorCommand::CompileAndSave)->setEnabled(canSave_);
    menus_->action(EditorCommand::Revert)->setEnabled(canSave_);

    fillList(controls_.commands, commandItems());
    fillList(controls_.dynamics, dynamicsItems());
    fillList(controls_.noteValues, noteValueItems());

    QPlainTextEdit* text = controls_.text;
    text->setFont(scriptFont());
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text->setReadOnly(!canSave_);
    text->installEventFilter(this);
    connect(text, &QPlainTextEdit::textChanged, this, [this] { modified_ = true; });

    QTreeWidget* warnings = controls_.warnings;
    warnings->setHeaderHidden(true);
    warnings->setColumnCount(1);
    connect(warnings, &QTreeWidget::itemClicked, this, &ScriptEditor::goToWarning);
    connect(warnings, &QTreeWidget::itemActivated, this, &ScriptEditor::goToWarning);

    loadSlotText();
    text->setFocus();
    currentEditor = this;

    resize(units.size(clientWidth, clientHeight) + QSize(0, menuBar()->sizeHint().height()));
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

ScriptEditor::~ScriptEditor()
{
    // The listener leaves the list as it is destroyed.
    if (currentEditor == this)
        currentEditor = nullptr;
}

ScriptEditor* ScriptEditor::current() { return currentEditor; }

void ScriptEditor::fillList(QComboBox* list, std::span<const InsertionItem> items)
{
    for (const InsertionItem& item : items)
        list->addItem(fromView(item.shown));
    list->setCurrentIndex(0);
    list->setMaxVisibleItems(static_cast<int>(items.size()));
    // Typed text must not pick an item.
    list->lineEdit()->setCompleter(nullptr);
    // The open list shows whole items, however narrow the closed box is.
    list->view()->setMinimumWidth(list->view()->sizeHintForColumn(0) +
                                  2 * list->view()->frameWidth());
    list->installEventFilter(this);
    connect(list, &QComboBox::activated, this, [this, items](int index) {
        if (index >= 0 && index < std::ssize(items))
            replaceSelection(items[static_cast<std::size_t>(index)].inserted);
    });
}

void ScriptEditor::loadSlotText()
{
    const KeySlot* keySlot = slots_.slotAt(slot_);
    controls_.text->setPlainText(keySlot && keySlot->scriptText ? fromSlotText(*keySlot->scriptText)
                                                                : QString());
    modified_ = false;
}

void ScriptEditor::replaceSelection(std::string_view text)
{
    QPlainTextEdit* field = controls_.text;
    if (field->isReadOnly())
        return;
    QTextDocument* document = field->document();
    document->setUndoRedoEnabled(false);
    field->insertPlainText(fromView(text));
    document->setUndoRedoEnabled(true);
}

void ScriptEditor::insertPicked(std::string_view text)
{
    if (currentEditor != this)
        return;
    controls_.text->setFocus();
    replaceSelection(text);
}

void ScriptEditor::onRatioChosen(std::uint32_t numerator, std::uint32_t denominator)
{
    insertPicked(ratioInsertion(numerator, denominator));
}

void ScriptEditor::onCentsChosen(double cents)
{
    if (const auto text = centsInsertion(cents))
        insertPicked(*text);
}

void ScriptEditor::runCommand(EditorCommand command)
{
    switch (command) {
    case EditorCommand::CompileAndSave: compileAndSave(); break;
    case EditorCommand::Revert: revert(); break;
    case EditorCommand::PageSetup: printDialogs_->pageSetup(printer()); break;
    case EditorCommand::Print: print(); break;
    case EditorCommand::Cut: controls_.text->cut(); break;
    case EditorCommand::Copy: controls_.text->copy(); break;
    case EditorCommand::Paste: controls_.text->paste(); break;
    case EditorCommand::Count: break;
    }
}

void ScriptEditor::compileAndSave()
{
    KeySlot* keySlot = slots_.slotAt(slot_);
    if (!keySlot)
        return;
    const std::string text = toSlotText(controls_.text->toPlainText());
    keySlot->scriptText = text;
    // A new code object: players that started on the old one keep theirs.
    KeySlotScripts scripts(slots_);
    const CompileResult result = ScriptCompiler(CompileWarnings::Collect).compile(scripts, slot_);
    modified_ = false;
    showWarnings(result.warnings, text);
    for (const std::string& message : result.messages)
        services_.messages().showMessage(QString::fromStdString(message));
    emit scriptSaved(slot_);
}

void ScriptEditor::revert()
{
    if (!canSave_)
        return;
    if (services_.messages().askYesNo(revertQuestion) == MessageService::Answer::Yes)
        loadSlotText();
}

void ScriptEditor::showWarnings(const std::vector<ScriptWarning>& warnings,
                                std::string_view slotText)
{
    QTreeWidget* list = controls_.warnings;
    list->clear();
    DocumentPositions positions(slotText);
    for (const ScriptWarning& warning : warnings) {
        auto* item = new QTreeWidgetItem(list);
        item->setText(
            0,
            QStringLiteral("%1: %2").arg(warning.line).arg(QString::fromStdString(warning.text)));
        item->setData(0, positionRole, positions.at(warning.offset));
    }
}

void ScriptEditor::goToWarning(QTreeWidgetItem* item)
{
    if (!item)
        return;
    QPlainTextEdit* field = controls_.text;
    // The text may have changed since the compile.
    const int last = field->document()->characterCount() - 1;
    QTextCursor cursor = field->textCursor();
    cursor.setPosition(std::min(item->data(0, positionRole).toInt(), last));
    field->setTextCursor(cursor);
    field->ensureCursorVisible();
    field->setFocus();
}

void ScriptEditor::setPrintDialogs(std::unique_ptr<ScriptPrintDialogs> dialogs)
{
    printDialogs_ = std::move(dialogs);
}

QPrinter& ScriptEditor::printer()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>();
    return *printer_;
}

void ScriptEditor::print()
{
    QPrinter& target = printer();
    if (!printDialogs_->choosePrinter(target))
        return;
    target.setDocName(windowTitle());
    if (!printScriptPage(target, controls_.text->toPlainText(), controls_.text->font()))
        services_.messages().showMessage(printFailure);
}

void ScriptEditor::leave()
{
    services_.listeners().unregisterListener(this);
    if (currentEditor == this)
        currentEditor = nullptr;
}

void ScriptEditor::closeEvent(QCloseEvent* event)
{
    if (modified_ && canSave_) {
        switch (services_.messages().askYesNoCancel(saveQuestion)) {
        case MessageService::Answer::Yes: compileAndSave(); break;
        case MessageService::Answer::Cancel: event->ignore(); return;
        default: break;
        }
    }
    leave();
    event->accept();
}

void ScriptEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QMainWindow::keyPressEvent(event);
}

bool ScriptEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == controls_.text) {
        if (event->type() == QEvent::FocusIn)
            currentEditor = this;
        return QMainWindow::eventFilter(watched, event);
    }
    auto* list = qobject_cast<QComboBox*>(watched);
    if (!list)
        return QMainWindow::eventFilter(watched, event);
    // An editable list acts on typed text when it loses the focus or takes Enter: putting the
    // chosen item's text back first keeps typing from choosing (and so inserting) anything.
    const auto* key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
    const bool enter = key && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
    if (event->type() == QEvent::FocusOut || enter)
        list->lineEdit()->setText(list->itemText(list->currentIndex()));
    // Turning the wheel over a closed list would insert an item at every step.
    if (event->type() == QEvent::Wheel && !list->view()->isVisible())
        return true;
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace tv
