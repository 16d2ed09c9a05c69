#include "app/views/plot_view_window.h"

#include <QPaintEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <mutex>

#include "app/views/qt_painter_surface.h"
#include "monitor/zentrova_doc.h"

namespace zentrova {

void PlotCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (paint) paint(painter);
}

PlotViewWindow::PlotViewWindow(const ViewSources& sources, std::string openKey, QWidget* parent)
    : ViewWindow(parent), sources_(sources), openKey_(std::move(openKey)) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_DeleteOnClose, false);
  scroll_ = new QScrollArea(this);
  scroll_->setFocusPolicy(Qt::NoFocus);
  scroll_->setWidgetResizable(true);
  scroll_->setFrameShape(QFrame::NoFrame);
  canvas_ = new PlotCanvas(scroll_);
  canvas_->setFocusPolicy(Qt::NoFocus);
  canvas_->setAutoFillBackground(false);
  canvas_->paint = [this](QPainter& painter) { PaintPage(painter); };
  scroll_->setWidget(canvas_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll_);
  // 200 mm square at the screen's resolution; the canvas grows with a
  // larger window and scrolls in a smaller one.
  const int side = static_cast<int>(PageUnitsToPixels(kViewPageUnits, Dpi()) + 0.5);
  canvas_->setMinimumSize(side, side);
  resize(side / 2 + 200, side / 2 + 100);
}

PlotViewWindow::~PlotViewWindow() {
  // A view the operator closes is not opened again at the next start; the
  // views still open when the exit is confirmed are.
  if (sources_.doc == nullptr) return;
  if (sources_.bExiting != nullptr && sources_.bExiting->load() != 0) return;
  std::lock_guard<std::recursive_mutex> lock(sources_.doc->mutex);
  sources_.doc->settings.SaveInt(openKey_, 0);
}

double PlotViewWindow::Dpi() const {
  const int dpi = logicalDpiX();
  return dpi > 0 ? dpi : 96.0;
}

PageSize PlotViewWindow::DrawingArea() const {
  const QSize visible = scroll_->viewport()->size();
  return {PixelsToPageUnits(visible.width(), Dpi()), PixelsToPageUnits(visible.height(), Dpi())};
}

void PlotViewWindow::Redraw() { canvas_->update(); }

void PlotViewWindow::UpdateTitle() {
  if (sources_.doc == nullptr) return;
  QString title;
  {
    std::lock_guard<std::recursive_mutex> lock(sources_.doc->mutex);
    title = Title();
  }
  setWindowTitle(title);
}

void PlotViewWindow::PaintPage(QPainter& painter) {
  painter.fillRect(canvas_->rect(), QColor(kWindowBackground.r, kWindowBackground.g, kWindowBackground.b));
  if (sources_.doc == nullptr) return;
  const QSize visible = scroll_->viewport()->size();
  QtPainterSurface surface(painter, Dpi(), visible.width(), visible.height());
  // The monitor thread changes the record and the analysis one file step
  // at a time under this lock; the drawing waits at most for one step.
  std::lock_guard<std::recursive_mutex> lock(sources_.doc->mutex);
  Draw(surface, surface.AreaSize());
}

QString PlotViewWindow::RecordPart() const {
  if (sources_.viewing != nullptr && !sources_.viewing->empty()) {
    return QStringLiteral("viewing ") + QString::fromStdString(*sources_.viewing);
  }
  return QString::fromStdString(RecordDisplayName(sources_.doc->pRecord->strFileName));
}

std::string RecordDisplayName(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace zentrova
