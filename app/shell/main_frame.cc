#include "app/shell/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QStyle>
#include <QToolBar>
#include <algorithm>
#include <mutex>

#include "app/shell/panel_commands.h"
#include "app/shell/record_viewer.h"
#include "app/shell/sliced_cycle.h"
#include "detection/event_run.h"
#include "health/auto_start.h"
#include "health/battery_check.h"
#include "health/controller.h"
#include "health/drive_selector.h"
#include "health/warning_toggle.h"
#include "notify/report_commands.h"
#include "station/station_assembly.h"

namespace zentrova {

const char* ViewKey(int templateId) {
  switch (templateId) {
    case kWaveformViewTemplate: return "bWaveformView";
    case kPhaseVelocityViewTemplate: return "bPhaseVelocityView";
    case kProfileViewTemplate: return "bSeisProfileView";
    default: return "";
  }
}

namespace {

int ViewTemplateOfCommand(int id) {
  switch (id) {
    case kCmdShowWaveform: return kWaveformViewTemplate;
    case kCmdShowPhaseVelocity: return kPhaseVelocityViewTemplate;
    case kCmdShowProfile: return kProfileViewTemplate;
    default: return 0;
  }
}

int IntervalOfCommand(int id) {
  switch (id) {
    case kCmdInterval05: return 0;
    case kCmdInterval1: return 1;
    case kCmdInterval2: return 2;
    case kCmdInterval4: return 3;
    case kCmdInterval8: return 4;
    default: return -1;
  }
}

ViewWindow* ViewOf(QMdiSubWindow* w) { return w ? qobject_cast<ViewWindow*>(w->widget()) : nullptr; }

}  // namespace

MainFrame::MainFrame(StationAssembly& station, SlicedCycle& cycle, const DialogProvider& dialogs,
                     std::atomic<int>& bExiting, QWidget* parent)
    : QMainWindow(parent), station_(station), cycle_(cycle), dialogs_(dialogs), bExiting_(bExiting) {
  setWindowTitle(QStringLiteral("Zentrova"));
  setObjectName("128");
  mdi_ = new QMdiArea(this);
  setCentralWidget(mdi_);
  BuildMenus();
  BuildToolBar();
  statusBar()->showMessage(QStringLiteral("Ready"));
  statusLine_ = new QLabel(QStringLiteral("No record yet"), this);
  statusLine_->setObjectName("recordStatus");
  statusBar()->addPermanentWidget(statusLine_, 1);
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
    ShowMenuOf(w ? w : mdi_->currentSubWindow());
  });
  ShowMenuOf(nullptr);
}

// The children go while this frame is whole: no signal of theirs reaches
// a frame half destroyed.
MainFrame::~MainFrame() {
  mdi_->disconnect(this);
  for (ViewWindow* v : Views()) v->disconnect(this);
  if (panelWindow_) panelWindow_->removeEventFilter(this);
  delete mdi_;
  mdi_ = nullptr;
}

// ---- menus -------------------------------------------------------------

MainFrame::BuiltMenu MainFrame::BuildMenu(const MenuTable& table) {
  BuiltMenu built;
  std::map<std::string, QMenu*> byPath;
  // The mnemonics taken in each menu, submenus' titles included.
  std::map<QMenu*, std::string> used;
  auto menuOf = [&](const std::string& path) {
    QMenu* parent = nullptr;
    std::string sofar;
    size_t start = 0;
    for (;;) {
      const size_t slash = path.find('/', start);
      const std::string name = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
      sofar = sofar.empty() ? name : sofar + "/" + name;
      auto it = byPath.find(sofar);
      if (it == byPath.end()) {
        QMenu* m = nullptr;
        if (!parent) {
          m = new QMenu(QString::fromStdString(TopLevelText(name)), this);
          built.topLevel.push_back(m);
        } else {
          m = parent->addMenu(QString::fromStdString(WithMnemonic(name, used[parent])));
        }
        m->setObjectName(QString::fromStdString(sofar));
        connect(m, &QMenu::aboutToShow, this, &MainFrame::UpdateCommandUi);
        it = byPath.emplace(sofar, m).first;
      }
      parent = it->second;
      if (slash == std::string::npos) return parent;
      start = slash + 1;
    }
  };
  for (const MenuRow& row : table.rows) {
    QMenu* menu = menuOf(row.path);
    QAction* a = menu->addAction(QString::fromStdString(WithMnemonic(row.text, used[menu])));
    a->setData(row.id);
    a->setCheckable(RowCheckable(row));
    if (!row.shortcut.empty()) a->setShortcut(QKeySequence(QString::fromStdString(row.shortcut)));
    const int id = row.id;
    connect(a, &QAction::triggered, this, [this, id] { RunCommand(id); });
    built.actions.emplace_back(a, &row);
    if (row.separatorAfter) menu->addSeparator();
    if (row.separatorAfterSubmenu) {
      const size_t slash = row.path.rfind('/');
      if (slash != std::string::npos) menuOf(row.path.substr(0, slash))->addSeparator();
    }
  }
  return built;
}

void MainFrame::BuildMenus() {
  for (const MenuTable* t : {&FrameMenu(), &ControlPanelMenu(), &WaveformViewMenu(), &ProfileViewMenu()}) {
    menus_[t->id] = BuildMenu(*t);
    // Every menu bar has the Window menu, before Help where there is one.
    std::vector<QMenu*>& top = menus_[t->id].topLevel;
    const bool help = !top.empty() && top.back()->title() == QStringLiteral("&Help");
    top.insert(help ? top.end() - 1 : top.end(), BuildWindowMenu());
  }
}

QMenu* MainFrame::BuildWindowMenu() {
  auto* menu = new QMenu(QStringLiteral("&Window"), this);
  menu->setObjectName("Window");
  connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillWindowMenu(menu); });
  FillWindowMenu(menu);
  return menu;
}

// Cascade and Tile, then the open windows, the active one checked.
void MainFrame::FillWindowMenu(QMenu* menu) {
  menu->clear();
  menu->addAction(QStringLiteral("&Cascade"), this, &MainFrame::CascadeWindows);
  menu->addAction(QStringLiteral("&Tile"), mdi_, &QMdiArea::tileSubWindows);
  menu->addSeparator();
  int number = 1;
  for (QMdiSubWindow* w : mdi_->subWindowList()) {
    const QString text = number <= 9 ? QStringLiteral("&%1 %2").arg(number).arg(w->windowTitle())
                                     : QStringLiteral("%1 %2").arg(number).arg(w->windowTitle());
    QAction* a = menu->addAction(text);
    a->setCheckable(true);
    a->setChecked(w == mdi_->activeSubWindow());
    QPointer<QMdiSubWindow> target(w);
    connect(a, &QAction::triggered, this, [this, target] {
      if (target) mdi_->setActiveSubWindow(target);
    });
    ++number;
  }
}

void MainFrame::BuildToolBar() {
  toolBar_ = addToolBar(QStringLiteral("Toolbar"));
  toolBar_->setObjectName("toolbar128");
  toolBar_->setMovable(true);
  struct Button {
    int id;
    QStyle::StandardPixmap icon;
    const char* tip;
  };
  const Button buttons[] = {{kCmdFolderOriginal, QStyle::SP_DirOpenIcon, "Folder (original)"},
                            {0, QStyle::SP_CustomBase, nullptr},
                            {kCmdViewToolbar1, QStyle::SP_ArrowUp, "Gain up"},
                            {kCmdViewToolbar2, QStyle::SP_ArrowDown, "Gain down"},
                            {kCmdNormalize, QStyle::SP_BrowserReload, "Normalize"}};
  for (const Button& b : buttons) {
    if (b.id == 0) {
      toolBar_->addSeparator();
      continue;
    }
    QAction* a = toolBar_->addAction(style()->standardIcon(b.icon), QString::fromLatin1(b.tip));
    a->setData(b.id);
    const int id = b.id;
    a->setCheckable(b.id == kCmdNormalize);  // shown pressed while the traces are normalised
    connect(a, &QAction::triggered, this, [this, id] { RunCommand(id); });
    toolbarActions_.emplace_back(a, b.id);
  }
}

void MainFrame::ShowMenuOf(QMdiSubWindow* window) {
  int menu = 128;  // no child, or the phase-velocity view, which has no menu of its own
  if (window && window == panelWindow_) {
    menu = 130;
  } else if (ViewWindow* v = ViewOf(window)) {
    if (v->TemplateId() == kWaveformViewTemplate) menu = 311;
    if (v->TemplateId() == kProfileViewTemplate) menu = 314;
  }
  if (menu != shownMenu_) {
    menuBar()->clear();
    for (QMenu* m : menus_[menu].topLevel) menuBar()->addMenu(m);
    shownMenu_ = menu;
  }
  UpdateCommandUi();
}

QAction* MainFrame::MenuAction(int menuId, int command) const {
  auto it = menus_.find(menuId);
  if (it == menus_.end()) return nullptr;
  for (const auto& [action, row] : it->second.actions) {
    if (row->id == command) return action;
  }
  return nullptr;
}

QAction* MainFrame::ToolbarAction(int command) const {
  for (const auto& [action, id] : toolbarActions_) {
    if (id == command) return action;
  }
  return nullptr;
}

bool MainFrame::IsControlPanelActive() const {
  return panelWindow_ && mdi_->currentSubWindow() == panelWindow_.data();
}

ViewWindow* MainFrame::ActiveView() const { return ViewOf(mdi_->currentSubWindow()); }

std::vector<ViewWindow*> MainFrame::Views() const {
  std::vector<ViewWindow*> views;
  for (QMdiSubWindow* w : mdi_->subWindowList()) {
    if (ViewWindow* v = ViewOf(w)) views.push_back(v);
  }
  return views;
}

// The routing: the application's commands always; the document's while a
// window of it is open; a view's while that view is the active child; the
// control panel's while it is the active child.
bool MainFrame::CommandAvailable(int id) {
  switch (TargetOf(id)) {
    case CommandTarget::kApplication: return true;
    case CommandTarget::kFrame: return id != kCmdFileNew && id != kCmdFileMru;
    case CommandTarget::kDocument: return panelWindow_ != nullptr;
    case CommandTarget::kView: {
      ViewWindow* v = ActiveView();
      return v && v->HandlesCommand(id) && v->CommandEnabled(id);
    }
    case CommandTarget::kControlPanel: return IsControlPanelActive();
  }
  return false;
}

void MainFrame::UpdateCommandUi() {
  const CommandState state = CommandStateOf(station_.doc(), station_.form());
  for (auto& [id, built] : menus_) {
    for (auto& [action, row] : built.actions) {
      const bool routed = CommandAvailable(row->id);
      action->setEnabled(routed && RowEnabled(*row, state));
      bool checked = RowChecked(*row, state);
      if (TargetOf(row->id) == CommandTarget::kView) {
        ViewWindow* v = ActiveView();
        checked = v && v->HandlesCommand(row->id) && v->CommandChecked(row->id);
        action->setCheckable(checked || action->isCheckable());
      }
      if (row->id == kCmdViewToolbar) checked = toolBar_ && toolBar_->isVisible();
      if (row->id == kCmdViewStatusBar) checked = statusBar()->isVisible();
      if (row->id == kCmdViewToolbar || row->id == kCmdViewStatusBar) action->setCheckable(true);
      action->setChecked(checked);
    }
  }
  UpdateToolBar();
}

// The view's buttons follow the active view and its record: called on
// every change of either, not only when a menu opens.
void MainFrame::UpdateToolBar() {
  ViewWindow* v = ActiveView();
  for (auto& [action, id] : toolbarActions_) {
    action->setEnabled(CommandAvailable(id));
    if (action->isCheckable()) action->setChecked(v && v->HandlesCommand(id) && v->CommandChecked(id));
  }
}

// ---- commands ----------------------------------------------------------

void MainFrame::RunCommand(int id) {
  if (!CommandAvailable(id)) return;
  // The interval item of the current interval, Start while running and
  // the like stay greyed whatever calls them.
  for (const MenuTable* t : {&ControlPanelMenu(), &WaveformViewMenu()}) {
    for (const MenuRow& row : t->rows) {
      if (row.id == id && !RowEnabled(row, CommandStateOf(station_.doc(), station_.form()))) return;
    }
  }
  Dispatch(id);
  if (closed_) return;
  RefreshControlPanel();
  UpdateCommandUi();
}

void MainFrame::Dispatch(int id) {
  CZentrovaDoc& doc = station_.doc();
  CZentrovaControlForm& form = station_.form();
  HealthChannels& health = station_.health();
  if (const int view = ViewTemplateOfCommand(id)) return ShowView(view);
  if (const int interval = IntervalOfCommand(id); interval >= 0) return form.OnInterval(interval);
  if (TargetOf(id) == CommandTarget::kView) {
    if (ViewWindow* v = ActiveView()) v->RunCommand(id);
    return;
  }
  switch (id) {
    case kCmdFolderOriginal: return OnFolderOriginal(doc, dialogs_);
    case kCmdFolderDestination: return OnFolderDestination(doc, dialogs_);
    case kCmdDriveSelector:
      if (dialogs_.driveSelector) dialogs_.driveSelector(doc, health.volumes);
      return;
    case kCmdExitProgram:
      // A close request posted to the main window: the confirmation follows.
      QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
      return;
    case kCmdShutdown: return ShutdownStation(doc, health, 1);
    case kCmdStart: return form.OnStart();
    case kCmdStop: return form.OnStop();
    case kCmdAutoStart: return ToggleAutoStart(doc, health.logon);
    case kCmdAutoStartTC: return ToggleAutoStartController(doc);
    case kCmdConcatenate: return OnConcatenate(doc, dialogs_);
    case kCmdMoveToFolder: return form.OnMoveToFolder();
    case kCmdUploadWaveformFile:
    case kCmdUseLocalServer: {
      std::lock_guard<std::recursive_mutex> lock(doc.mutex);
      station_.uploads().OnCommand(id);
      return;
    }
    case kCmdUploadToDatabase: {
      {
        std::lock_guard<std::recursive_mutex> lock(doc.mutex);
        station_.uploads().OnCommand(id);
      }
      // 32842 to the views: the control panel refreshes (after this command anyway).
      return;
    }
    case kCmdSendReport: return OnSendReport(doc, form, dialogs_.reports);
    case kCmdSendWarning: return ToggleWarning(doc, form, dialogs_.warnings);
    case kCmdPickMaximumAmplitude: return OnPickMaximumAmplitude(doc);
    case kCmdDetectionActive: return ToggleEventDetection(doc);
    case kCmdDetectionSetting:
      if (dialogs_.detection) dialogs_.detection(doc);
      return;
    case kCmdDetectionSendMail: return ToggleSendMail(doc);
    case kCmdRecipient: return OnRecipient(doc, dialogs_.reports);
    case kCmdSender:
      if (dialogs_.emailSender) dialogs_.emailSender(doc);
      return;
    case kCmdServerUrl: return OnServerUrl(doc, dialogs_.reports);
    case kCmdMessageInterval: return OnMessageInterval(doc, form, dialogs_.reports);
    case kCmdControllerLocation:
      if (dialogs_.chooseControllerFile) OnControllerLocation(doc, dialogs_.chooseControllerFile);
      return;
    case kCmdSiteName: return OnSiteName(doc, dialogs_);
    case kCmdTestMail: return OnTestMessage(doc, station_.reports(), dialogs_.reports);
    case kCmdConnectToServer: return OnConnectToServer(doc, station_.http());
    case kCmdThread: return form.OnThread();
    case kCmdVariableFileSize: return OnVariableFileSize(doc);
    case kCmdAbout:
      if (dialogs_.about) dialogs_.about();
      return;
    case kCmdRefreshPanel: return;  // the refresh after every command
    case kCmdFileClose:
      if (QMdiSubWindow* w = mdi_->currentSubWindow()) w->close();
      return;
    case kCmdFileOpen:
      if (dialogs_.chooseRecordFile) {
        if (const auto path = dialogs_.chooseRecordFile(doc.settingsBlock.strWatchedFolder)) OpenRecord(*path);
      }
      return;
    case kCmdAppExit: close(); return;
    case kCmdViewToolbar: toolBar_->setVisible(!toolBar_->isVisible()); return;
    case kCmdViewStatusBar: statusBar()->setVisible(!statusBar()->isVisible()); return;
    default: return;
  }
}

// ---- the document's windows ---------------------------------------------

void MainFrame::OpenDocument() {
  auto* scroll = new QScrollArea;
  scroll->setWidgetResizable(false);
  scroll->setFrameShape(QFrame::NoFrame);
  panelWindow_ = mdi_->addSubWindow(scroll);
  panelWindow_->setWindowTitle(QStringLiteral("Zentrova"));
  panelWindow_->setObjectName("130");
  panelWindow_->installEventFilter(this);
  // The frame at the top left, 1200 x 450; the form in the room inside its
  // title bar and borders (known before the frame is shown), then the
  // frame shrunk to fit the form (never enlarged).
  const QSize frameSize(1200, 450);
  panelWindow_->setGeometry(QRect(QPoint(0, 0), frameSize));
  const QMargins frame = panelWindow_->contentsMargins();
  panel_ = new ControlPanel(frameSize.shrunkBy(frame));
  scroll->setWidget(panel_);
  connect(panel_, &ControlPanel::statusButtonClicked, this,
          [this](int slot) { RunCommand(StatusButtonCommand(slot, station_.form())); });
  panelWindow_->resize(frameSize.boundedTo(panel_->TemplateSize().grownBy(frame)));
  panelWindow_->show();
  mdi_->setActiveSubWindow(panelWindow_);
  station_.OnInitialUpdate();
  for (int slot : kStartupPaintOrder) panel_->DrawStatusButton(slot, StatusFaceOf(slot, station_.doc(), station_.form()));
  RefreshControlPanel();
  ShowMenuOf(panelWindow_);
}

void MainFrame::ReopenViews() {
  CZentrovaDoc& doc = station_.doc();
  for (int templateId : {kWaveformViewTemplate, kPhaseVelocityViewTemplate, kProfileViewTemplate}) {
    int open = 0;
    {
      std::lock_guard<std::recursive_mutex> lock(doc.mutex);
      doc.settings.LoadInt(ViewKey(templateId), open);
    }
    if (open == 1) ShowView(templateId);
  }
}

// A new window of the kind each time, also when one is open already.
void MainFrame::ShowView(int templateId) {
  if (!panelWindow_) return;
  CZentrovaDoc& doc = station_.doc();
  ViewSources sources;
  sources.doc = &doc;
  sources.surfaceWaves = &station_.surfaceWaves();
  sources.profiles = nullptr;
  sources.bExiting = &bExiting_;
  sources.viewing = &viewing_;
  ViewWindow* view = CreateViewWindow(templateId, sources, nullptr);
  if (!view) return;
  QMdiSubWindow* w = mdi_->addSubWindow(view);
  w->setAttribute(Qt::WA_DeleteOnClose);
  connect(view, &QObject::destroyed, this, &MainFrame::OnViewDestroyed);
  {
    std::lock_guard<std::recursive_mutex> lock(doc.mutex);
    if (templateId == kWaveformViewTemplate) doc.views.bWaveformView = 1;
    if (templateId == kPhaseVelocityViewTemplate) doc.views.bPhaseVelocityView = 1;
    if (templateId == kProfileViewTemplate) doc.views.bSeisProfileView = 1;
    doc.settings.SaveInt(ViewKey(templateId), 1);
  }
  // A view's window of a useful size, cascaded below the ones before it.
  const QSize area = mdi_->viewport()->size();
  const int offset = kCascadeStep * static_cast<int>(Views().size() % 8);
  w->setGeometry(QRect(QPoint(offset, std::min(area.height() / 3, 240) + offset), ViewWindowSize(offset)));
  w->show();
  mdi_->setActiveSubWindow(w);
  ShowMenuOf(w);
}

QSize MainFrame::ViewWindowSize(int offset) const {
  const QSize area = mdi_->viewport()->size();
  return {std::max(400, std::min(900, area.width() - offset)), std::max(300, std::min(560, area.height() - offset))};
}

// The windows one below the other, each a step right of and below the one
// before, in the order they were opened: the control panel at its own
// size, the views at the size they open with, each above the ones before
// so that its title bar and its picture are seen.
void MainFrame::CascadeWindows() {
  int k = 0;
  for (QMdiSubWindow* w : mdi_->subWindowList(QMdiArea::CreationOrder)) {
    if (w->isHidden() || w->isMinimized()) continue;
    if (w->isMaximized()) w->showNormal();
    const int offset = kCascadeStep * k++;
    const QSize size = w == panelWindow_.data() ? w->size() : ViewWindowSize(offset);
    w->setGeometry(QRect(QPoint(offset, offset), size));
    w->raise();
  }
}

void MainFrame::OnViewDestroyed() {
  // Queued: the window list still holds the window being destroyed.
  QMetaObject::invokeMethod(this, [this] { RecountViews(); }, Qt::QueuedConnection);
}

// The document reads the records' samples while a view of any kind is open.
void MainFrame::RecountViews() {
  OpenViews open;
  for (ViewWindow* v : Views()) {
    if (v->TemplateId() == kWaveformViewTemplate) open.bWaveformView = 1;
    if (v->TemplateId() == kPhaseVelocityViewTemplate) open.bPhaseVelocityView = 1;
    if (v->TemplateId() == kProfileViewTemplate) open.bSeisProfileView = 1;
  }
  CZentrovaDoc& doc = station_.doc();
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  doc.views = open;
  ShowMenuOf(mdi_->currentSubWindow());
}

void MainFrame::RefreshControlPanel() {
  if (!panel_) return;
  panel_->Refresh(station_.doc());
  for (int slot = 0; slot < kStatusSlots; ++slot) {
    const StatusFace face = StatusFaceOf(slot, station_.doc(), station_.form());
    const StatusFace& shown = panel_->button(slot)->face();
    if (face.on != shown.on || face.caption != shown.caption) panel_->DrawStatusButton(slot, face);
  }
}

void MainFrame::OnNewFiles() {
  if (closed_) return;
  // The monitor's record replaces one opened for viewing.
  SetViewing("");
  for (ViewWindow* v : Views()) v->UpdateFromDocument();
  RefreshControlPanel();
  UpdateCommandUi();  // a record with traces enables the view's commands
}

void MainFrame::OpenRecord(const std::string& path) {
  const ViewedRecord viewed = OpenRecordForViewing(station_.doc(), &station_.surfaceWaves(), path);
  if (!viewed.ok) {
    if (dialogs_.message) dialogs_.message(viewed.why);
    statusLine_->setText(QString::fromStdString("Not shown: " + viewed.why));
    return;
  }
  SetViewing(viewed.name);
  for (ViewWindow* v : Views()) v->UpdateFromDocument();
  UpdateCommandUi();
}

void MainFrame::SetViewing(const std::string& name) {
  viewing_ = name;
  setWindowTitle(name.empty() ? QStringLiteral("Zentrova")
                              : QStringLiteral("Zentrova - viewing %1").arg(QString::fromStdString(name)));
  statusLine_->setText(QString::fromStdString(RecordStatusLine(station_.doc(), !name.empty())));
}

// ---- the exit ------------------------------------------------------------

// Closing the control panel's window would close the document under a
// running monitor: it asks as the exit does and, on OK, ends the program.
bool MainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == panelWindow_ && event->type() == QEvent::Close && !closed_) {
    event->ignore();
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainFrame::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    const bool ok = dialogs_.askOkCancel ? dialogs_.askOkCancel("Are you sure you want to exit?") : true;
    // A signal that arrived while the question was open has closed the
    // station already: the frame closes whatever the answer.
    if (!ok && !closed_) {
      event->ignore();  // monitoring goes on; nothing is written
      return;
    }
    if (!closed_) CloseStation();
  }
  event->accept();
}

void MainFrame::ExitConfirmed() {
  // Asked from inside a step of the timer's cycle (an event loop the step
  // ran): the step ends first, so that the cycle's lines come before the
  // closing line.
  if (!closed_ && cycle_.UnderWay() && station_.doc().InCycleStep()) {
    QTimer::singleShot(0, this, [this] { ExitConfirmed(); });
    return;
  }
  if (!closed_) CloseStation();
  // An open dialog (or the exit question itself) is cancelled, so that its
  // loop ends and the frame's close is not refused while it is open.
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible()) dialog->reject();
  }
  close();
}

void MainFrame::CloseStation() {
  closed_ = true;
  bExiting_ = 1;
  cycle_.Abort();
  station_.form().Shutdown();
  CloseWindowByTitle(station_.health().windows, kControllerTitle);
  station_.Close();
}

}  // namespace zentrova
