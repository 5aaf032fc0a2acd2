#include "ui/lattice/LatticeWindow.h"

#include "core/lattice/ElementReadout.h"
#include "core/midi/MidiOutput.h"
#include "core/tuning/KeyScale.h"
#include "core/tuning/PitchChord.h"
#include "core/tuning/PitchOutput.h"
#include "platform/qt/DialogUnits.h"
#include "platform/qt/SettingsStore.h"
#include "ui/common/AppServices.h"
#include "ui/common/ElementListener.h"
#include "ui/common/OptionsDialog.h"
#include "ui/common/ToolboxIcons.h"
#include "ui/common/WindowPlacement.h"
#include "ui/lattice/LatticeColoursDialog.h"
#include "ui/lattice/PatchDialog.h"
#include "ui/lattice/RatioPropertiesDialog.h"
#include "ui/table/TableWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace tv {
namespace {

// How far each further table window moves, in pixels.
constexpr int tableStep = 24;

// The zoom chosen last in any lattice window, in percent.
const QString zoomSetting = QStringLiteral("LatticeZoom");

}  // namespace

LatticeWindow::LatticeWindow(AppServices& services, QWidget* parent)
    : QMainWindow(parent, Qt::Window), services_(services),
      painter_(QGuiApplication::primaryScreen()
                   ? QGuiApplication::primaryScreen()->logicalDotsPerInchY()
                   : 96.0)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(latticeIcon());
    setWindowTitle(untitledCaption);

    view_ = new LatticeView(*this, this);
    setCentralWidget(view_->frame());
    menus_ = new LatticeMenus(menuBar(), [this](LatticeCommand command) { runCommand(command); });
    contextMenu_ = new QMenu(this);
    QAction* properties = contextMenu_->addAction(QStringLiteral("&Element Properties"));
    connect(properties, &QAction::triggered, this, &LatticeWindow::editElement);
    edits_ = std::make_unique<LatticeEditHistory>(static_cast<LatticeEditTarget&>(*this));
    files_ = std::make_unique<LatticeFileCommands>(static_cast<LatticeFileHost&>(*this), *edits_,
                                                   services_.messages(), services_.settings());
    tuningFiles_ = std::make_unique<LatticeTuningFiles>(lattice_, services_.messages());
    tuningFiles_->setMappingChanged([this] { keyboardScaleChanged(); });
    // The recent files are read as the File menu opens, so every window lists the latest; the
    // item is greyed while none is listed.
    QMenu* recent = menus_->submenu(LatticeCommand::RecentFiles);
    if (auto* fileMenu = qobject_cast<QMenu*>(recent->parentWidget()))
        connect(fileMenu, &QMenu::aboutToShow, this,
                [this, recent] { files_->fillRecentMenu(recent); });
    files_->fillRecentMenu(recent);
    setAcceptDrops(true);

    // The picker starts at the colour in use, so OK without a change changes nothing.
    chooseColour = [this](QWidget* owner) {
        return QColorDialog::getColor(options_.background, owner,
                                      QStringLiteral("Background color"));
    };

    const DialogUnits units(DialogUnits::dialogFont());
    resize(units.size(514, 334));
    services_.restorePlacement(*this, mainWindowPlacement);
    if (const auto stored = services_.settings().value(zoomSetting)) {
        bool number = false;
        const int percent = stored->toInt(&number);
        if (number)
            applyZoom(percent, QPoint());
    }
}

LatticeWindow::~LatticeWindow()
{
    loseMouse();
    endHeldChord();
    services_.keyboardTargetGone(*this);
}

KeyScale LatticeWindow::keyScale() const { return KeyScale(lattice_); }

void LatticeWindow::keysSounding(const std::vector<int>& keys)
{
    const KeyScale scale(lattice_);
    const KeyboardMapping& mapping = tuningFiles_->mapping();
    std::vector<KeyDegree> sounding;
    for (const int key : keys) {
        if (const auto pitch = mapping.keyPitch(scale, key))
            sounding.push_back(pitch->degree);
    }
    const int count = lattice_.count();
    std::vector<bool> lit(static_cast<std::size_t>(count), false);
    for (int i = 0; i < count; ++i) {
        const auto degree = KeyScale::elementDegree(lattice_, i);
        lit[static_cast<std::size_t>(i)] =
            degree && std::any_of(sounding.begin(), sounding.end(), [&](const KeyDegree& d) {
                return KeyScale::sameSize(d, *degree);
            });
    }
    options_.lit.resize(lit.size(), false);
    for (int i = 0; i < count; ++i) {
        if (lit[static_cast<std::size_t>(i)] != options_.lit[static_cast<std::size_t>(i)])
            view_->redrawBox(i);
    }
    options_.lit = std::move(lit);
}

void LatticeWindow::setShowKeyLabels(bool show)
{
    showKeyLabels_ = show;
    menus_->action(LatticeCommand::KeyLabels)->setChecked(show);
    updateKeyLabels();
}

void LatticeWindow::updateKeyLabels()
{
    options_.keyLabels.clear();
    if (showKeyLabels_) {
        // The keys whose pitch is the element's own, octave and all.
        const KeyScale scale(lattice_);
        const KeyboardMapping& mapping = tuningFiles_->mapping();
        std::vector<std::pair<int, double>> keys;
        for (int key = 0; key < 128; ++key) {
            if (const auto pitch = mapping.keyPitch(scale, key))
                keys.emplace_back(key, pitch->cents);
        }
        options_.keyLabels.resize(static_cast<std::size_t>(lattice_.count()));
        for (int i = 0; i < lattice_.count(); ++i) {
            const auto degree = KeyScale::elementDegree(lattice_, i);
            if (!degree)
                continue;
            const LatticeElement& e = *lattice_.element(i);
            // The element's size above 1/1: its octave counts, as when it is played.
            const double size =
                e.isRatio() ? ExactPitch::ratio(e.numerator, e.denominator, e.octave).totalCents()
                            : ExactPitch::centsAbove(e.cents, e.octave).totalCents();
            std::string& text = options_.keyLabels[static_cast<std::size_t>(i)];
            for (const auto& [key, cents] : keys) {
                if (std::fabs(cents - size) >= 1e-6)
                    continue;
                if (!text.empty())
                    text.push_back(' ');
                text.append(std::to_string(key));
            }
        }
    }
    repaintAll();
}

void LatticeWindow::keyboardScaleChanged()
{
    updateKeyLabels();
    if (isActiveWindow())
        services_.playFromKeyboard(*this);
}

LatticeGeometry LatticeWindow::labelGeometry() const
{
    // The picture is laid out from the window's outer size, frame and menu bar included.
    return LatticeGeometry(lattice_, frameGeometry().size(), painter_.metrics(), limitFilter());
}

int LatticeWindow::drawLattice(QPainter& painter) { return drawArea(painter, QRect()); }

int LatticeWindow::drawArea(QPainter& painter, const QRect& area)
{
    LatticeDrawOptions options = options_;
    options.visibleSize = view_->size();
    options.area = area;
    return painter_.drawLattice(painter, labelGeometry(), options);
}

LimitFilter LatticeWindow::limitFilter() const
{
    LimitFilter filter;
    std::copy_n(limitFlags_.begin(), LimitFilter::itemCount, filter.shown.begin());
    return filter;
}

void LatticeWindow::setZoomPercent(int percent) { applyZoom(percent, view_->rect().center()); }

QRect LatticeWindow::labelBounds() const { return painter_.labelBounds(labelGeometry(), options_); }

void LatticeWindow::zoomBy(int steps) { zoomAt(steps, view_->rect().center()); }

void LatticeWindow::zoomAt(int steps, QPoint anchor)
{
    // From a zoom between steps (Fit to window's), the first step is the next one that way.
    const auto begin = zoomSteps.begin();
    const int index =
        steps > 0
            ? static_cast<int>(std::upper_bound(begin, zoomSteps.end(), zoomPercent_) - begin) +
                  steps - 1
            : static_cast<int>(std::lower_bound(begin, zoomSteps.end(), zoomPercent_) - begin) +
                  steps;
    applyZoom(zoomSteps[static_cast<std::size_t>(
                  std::clamp(index, 0, static_cast<int>(zoomSteps.size()) - 1))],
              anchor);
}

void LatticeWindow::applyZoom(int percent, QPoint anchor)
{
    percent = std::clamp(percent, zoomSteps.front(), zoomSteps.back());
    services_.settings().setValue(zoomSetting, QString::number(percent));
    if (percent == zoomPercent_)
        return;
    zoomPercent_ = percent;
    painter_.setZoom(percent / 100.0);
    view_->setZoom(percent / 100.0, anchor);
}

void LatticeWindow::fitToWindow()
{
    const QRect room(QPoint(), view_->frame()->size());
    int percent = 100;
    for (;;) {
        // The fonts round their sizes, so a zoom worked out from the bounds is tried before
        // it is taken.
        painter_.setZoom(percent / 100.0);
        const QRect bounds = labelBounds();
        if (bounds.isNull() || room.contains(bounds) || percent == zoomSteps.front())
            break;
        const double shrink = std::min(room.width() / double(bounds.right() + 1),
                                       room.height() / double(bounds.bottom() + 1));
        percent = std::clamp(static_cast<int>(std::floor(percent * shrink)), zoomSteps.front(),
                             percent - 1);
    }
    painter_.setZoom(zoomPercent_ / 100.0);
    applyZoom(percent, QPoint());
    view_->scrollTo(QPoint());
}

QString LatticeWindow::readoutAt(QPoint at) const
{
    const LatticeElement* element = lattice_.element(labelGeometry().hitTest(at));
    if (!element)
        return {};
    return QString::fromStdString(elementReadout(*element, services_.midiOutput().baseNote()));
}

void LatticeWindow::setShowLines(bool show)
{
    options_.showLines = show;
    menus_->action(LatticeCommand::ShowLines)->setChecked(show);
    repaintAll();
}

void LatticeWindow::setShowCircle(bool show)
{
    options_.showCircle = show;
    menus_->action(LatticeCommand::ShowCircle)->setChecked(show);
    repaintAll();
}

void LatticeWindow::setShowRatios(bool show)
{
    options_.showRatios = show;
    menus_->action(LatticeCommand::ShowRatios)->setChecked(show);
    repaintAll();
}

void LatticeWindow::setShowExponents(bool show)
{
    options_.showExponents = show;
    menus_->action(LatticeCommand::ShowExponents)->setChecked(show);
    repaintAll();
}

void LatticeWindow::applyNewChoice(const NewLatticeChoice& choice)
{
    setShowRatios(choice.ratios);
    setShowExponents(choice.exponents);
    setShowLines(choice.lines);
    setShowCircle(choice.circles);
}

QSize LatticeWindow::pictureSize() const { return view_->pictureSize(); }

int LatticeWindow::pictureDpi() const { return view_->logicalDpiX(); }

void LatticeWindow::restoreEdit(Lattice lattice, const std::optional<LatticeDocument>& document)
{
    lattice_ = std::move(lattice);
    if (document)
        files_->setDocument(*document);
    latticeReplaced();
}

void LatticeWindow::editHistoryChanged(bool canUndo, bool canRedo)
{
    menus_->action(LatticeCommand::Undo)->setEnabled(canUndo);
    menus_->action(LatticeCommand::Redo)->setEnabled(canRedo);
}

void LatticeWindow::repaintAll() { view_->invalidatePicture(); }

void LatticeWindow::pressLeft(QPoint at)
{
    pressing_ = true;
    const int index = labelGeometry().hitTest(at);
    if (index >= 0)
        clickElement(index);
    else
        clearSelection();
}

void LatticeWindow::releaseLeft(bool shiftHeld)
{
    pressing_ = false;
    // Under Hold chord a chord kept by Shift sounds on until the selection changes.
    chordHeld_ = shiftHeld && menus_->action(LatticeCommand::HoldChord)->isChecked();
    if (chordHeld_)
        return;
    if (!shiftHeld)
        clearSelection();
    services_.chord().release();
}

void LatticeWindow::loseMouse()
{
    if (!pressing_)
        return;
    pressing_ = false;
    services_.chord().release();
}

void LatticeWindow::endHeldChord()
{
    if (chordHeld_)
        services_.chord().release();
    chordHeld_ = false;
}

void LatticeWindow::allNotesOff()
{
    chordHeld_ = false;
    services_.pitchOutput().panic();
    services_.chord().clear();
}

void LatticeWindow::pressRight(QPoint at)
{
    // The menu takes the mouse: a left press still held never gets its release.
    loseMouse();
    const LatticeGeometry layout = labelGeometry();
    contextElement_ = layout.hitTest(at);
    // The menu opens at the top right corner of a ratio element's box (a box widened for its
    // text included), for any other element as if it had a ratio's least box, and with no
    // element under the press at the pointer.
    const LatticeElement* element = lattice_.element(contextElement_);
    const QPoint corner = !element ? at
                          : element->isRatio()
                              ? layout.box(*element).topRight()
                              : layout.labelAt(contextElement_) + QPoint(layout.ratioHitWidth(), 0);
    contextMenu_->popup(view_->mapToGlobal(corner));
}

void LatticeWindow::clickElement(int index)
{
    LatticeElement* element = lattice_.element(index);
    if (!element)
        return;
    element->selected = !element->selected;
    view_->redrawBox(index);
    if (element->isRatio())
        services_.listeners().broadcastRatio(element->numerator, element->denominator);
    else
        services_.listeners().broadcastCents(element->cents);
    playSelection();
}

void LatticeWindow::clearSelection()
{
    chordHeld_ = false;
    const int count = lattice_.count();
    for (int i = 0; i < count; ++i) {
        if (lattice_.selected(i)) {
            view_->redrawBox(i);
            lattice_.setSelected(i, false);
        }
    }
    PitchChord& chord = services_.chord();
    chord.release();
    chord.clear();
}

void LatticeWindow::playSelection()
{
    chordHeld_ = false;
    PitchChord& chord = services_.chord();
    chord.release();
    chord.clear();
    playList_.clear();
    const int count = lattice_.count();
    const LimitFilter limits = limitFilter();
    for (int i = 0; i < count; ++i) {
        // A selected element that the Limit menu hides is silent until it shows again.
        if (lattice_.selected(i) && limits.shows(*lattice_.element(i)))
            playList_.push_back(i);
    }
    // The tuning method places each pitch; what it cannot sound stays silent.
    for (const int index : playList_) {
        const LatticeElement& e = *lattice_.element(index);
        chord.add(e.isRatio() ? ExactPitch::ratio(e.numerator, e.denominator, e.octave)
                              : ExactPitch::centsAbove(e.cents, e.octave));
    }
    chord.play(patch_);
}

void LatticeWindow::chooseStyle(int style)
{
    LatticeEditHistory::State before = edits_->capture(false);
    lattice_.setStyle(style);
    edits_->record(std::move(before));
    latticeReplaced();
}

void LatticeWindow::latticeReplaced()
{
    endHeldChord();
    const int style = lattice_.style();
    menus_->action(LatticeCommand::StyleVelmor)->setChecked(style == Lattice::latticeStyle);
    menus_->action(LatticeCommand::StylePlanetary)->setChecked(style == Lattice::planetaryStyle);
    // The elements are others now: what the keyboard sounds lights again with its next note.
    options_.lit.clear();
    keyboardScaleChanged();
    repaintAll();
}

void LatticeWindow::toggleLimit(std::size_t index)
{
    // "Combined" stands for the prime items together: it checks or unchecks them all, and is
    // checked exactly while all of them are.
    constexpr std::size_t combined = limitCount - 1;
    const bool on = !limitFlags_[index];
    if (index == combined)
        limitFlags_.fill(on);
    else
        limitFlags_[index] = on;
    limitFlags_[combined] = std::all_of(limitFlags_.begin(), limitFlags_.begin() + combined,
                                        [](bool flag) { return flag; });
    const LatticeCommand commands[] = {LatticeCommand::Limit3,       LatticeCommand::Limit5,
                                       LatticeCommand::Limit7,       LatticeCommand::Limit11,
                                       LatticeCommand::Limit13,      LatticeCommand::Limit17,
                                       LatticeCommand::LimitCombined};
    for (std::size_t i = 0; i < limitCount; ++i)
        menus_->action(commands[i])->setChecked(limitFlags_[i]);
    repaintAll();
}

void LatticeWindow::editColours()
{
    LatticeColoursDialog dialog(chooseColour, this);
    if (dialog.exec() == QDialog::Accepted && dialog.chosenBackground().isValid()) {
        options_.background = dialog.chosenBackground();
        repaintAll();
    }
}

void LatticeWindow::editElement()
{
    LatticeEditHistory::State before = edits_->capture(false);
    RatioPropertiesDialog dialog(lattice_, contextElement_, services_.messages(), this);
    if (dialog.exec() == QDialog::Accepted) {
        edits_->record(std::move(before));
        keyboardScaleChanged();
        repaintAll();
    }
}

void LatticeWindow::choosePatch()
{
    // The new program is heard with the next played note.
    PatchDialog dialog(patch_, this);
    if (dialog.exec() == QDialog::Accepted)
        patch_ = static_cast<std::uint16_t>(dialog.patch());
}

void LatticeWindow::openTable()
{
    // A snapshot of the lattice as it is now; each choice opens another one, and they close
    // with this window.
    const QList<TableWindow*> open = findChildren<TableWindow*>(Qt::FindDirectChildrenOnly);
    auto* table = new TableWindow(lattice_, windowTitle(), this);
    table->setAttribute(Qt::WA_DeleteOnClose);
    table->setMessages(&services_.messages());
    // A table opens centred, or a step down and right of there for each place an open table
    // already takes, so that it never lies exactly over another.
    // Places are compared by the client area, which stays put when the frame is added.
    const QRect centred = table->geometry();
    for (int step = 1; step < 8; ++step) {
        const bool taken = std::any_of(open.begin(), open.end(), [&](const TableWindow* other) {
            return other->isVisible() && other->geometry().topLeft() == table->geometry().topLeft();
        });
        if (!taken)
            break;
        table->setGeometry(centred.translated(QPoint(tableStep, tableStep) * step));
    }
    table->show();
}

void LatticeWindow::runCommand(LatticeCommand command)
{
    switch (command) {
    case LatticeCommand::Exit: closeWithoutPlacement(); break;
    case LatticeCommand::Limit3:
    case LatticeCommand::Limit5:
    case LatticeCommand::Limit7:
    case LatticeCommand::Limit11:
    case LatticeCommand::Limit13:
    case LatticeCommand::Limit17:
    case LatticeCommand::LimitCombined:
        toggleLimit(static_cast<std::size_t>(command) -
                    static_cast<std::size_t>(LatticeCommand::Limit3));
        break;
    case LatticeCommand::LimitAll:
        for (std::size_t i = 0; i < limitCount; ++i) {
            if (!limitFlags_[i])
                toggleLimit(i);
        }
        repaintAll();
        break;
    case LatticeCommand::StyleVelmor: chooseStyle(Lattice::latticeStyle); break;
    case LatticeCommand::StylePlanetary: chooseStyle(Lattice::planetaryStyle); break;
    case LatticeCommand::ShowRatios: setShowRatios(!options_.showRatios); break;
    case LatticeCommand::ShowExponents: setShowExponents(!options_.showExponents); break;
    case LatticeCommand::ShowLines: setShowLines(!options_.showLines); break;
    case LatticeCommand::ShowCircle: setShowCircle(!options_.showCircle); break;
    case LatticeCommand::KeyLabels: setShowKeyLabels(!showKeyLabels_); break;
    case LatticeCommand::ZoomIn: zoomBy(1); break;
    case LatticeCommand::ZoomOut: zoomBy(-1); break;
    case LatticeCommand::ZoomReset: setZoomPercent(100); break;
    case LatticeCommand::FitToWindow: fitToWindow(); break;
    case LatticeCommand::Colour: editColours(); break;
    case LatticeCommand::New: files_->newLattice(); break;
    case LatticeCommand::Open: files_->open(); break;
    case LatticeCommand::Close: close(); break;
    case LatticeCommand::Save: files_->save(); break;
    case LatticeCommand::SaveAs: files_->saveAs(); break;
    case LatticeCommand::SaveBitmap: files_->saveBitmap(); break;
    case LatticeCommand::ExportPdf: files_->exportPdf(); break;
    case LatticeCommand::ExportSvg: files_->exportSvg(); break;
    case LatticeCommand::OpenKeyboardMapping: tuningFiles_->openMapping(); break;
    case LatticeCommand::SaveKeyboardMapping: tuningFiles_->saveMapping(); break;
    case LatticeCommand::ExportTuning: tuningFiles_->exportTuning(); break;
    case LatticeCommand::Undo: edits_->undo(); break;
    case LatticeCommand::Redo: edits_->redo(); break;
    case LatticeCommand::PageSetup: files_->pageSetup(); break;
    case LatticeCommand::Print: files_->print(); break;
    case LatticeCommand::Patch: choosePatch(); break;
    case LatticeCommand::Table: openTable(); break;
    case LatticeCommand::AllNotesOff: allNotesOff(); break;
    case LatticeCommand::HoldChord:
        if (!menus_->action(command)->isChecked())
            endHeldChord();
        break;
    case LatticeCommand::Options: {
        OptionsDialog options(services_, this);
        options.exec();
        break;
    }
    default:
        // View > File has no behaviour of its own yet.
        break;
    }
}

bool LatticeWindow::closeWithoutPlacement()
{
    storePlacementOnClose_ = false;
    const bool closed = close();
    storePlacementOnClose_ = true;
    return closed;
}

void LatticeWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        loseMouse();
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        services_.playFromKeyboard(*this);
    QMainWindow::changeEvent(event);
}

void LatticeWindow::closeEvent(QCloseEvent* event)
{
    if (!files_->mayDiscard()) {
        event->ignore();
        return;
    }
    if (storePlacementOnClose_)
        services_.savePlacement(*this, mainWindowPlacement);
    loseMouse();
    endHeldChord();
    services_.keyboardTargetGone(*this);
    event->accept();
}

void LatticeWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: closeWithoutPlacement(); break;
    default: QMainWindow::keyPressEvent(event);
    }
}

namespace {

// The first local Scala file among the dropped things; empty when there is none.
QString droppedScalaFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() &&
            QFileInfo(path).suffix().compare(QStringLiteral("scl"), Qt::CaseInsensitive) == 0)
            return path;
    }
    return {};
}

}  // namespace

void LatticeWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedScalaFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void LatticeWindow::dropEvent(QDropEvent* event)
{
    const QString path = droppedScalaFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop is over: the question about a changed lattice must not hold up the
    // program the file came from.
    QMetaObject::invokeMethod(
        this, [this, path] { files_->openFile(path); }, Qt::QueuedConnection);
}

}  // namespace tv
