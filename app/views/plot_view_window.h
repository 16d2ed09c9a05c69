#pragma once
// What the three display views share: a scrolling page of 2000 x 2000 page
// units (200 mm square; larger when the window is), redrawn whole through a
// Qt painter surface at every paint, the document's lock held while the
// plot reads the document, and the closed state stored when the window
// goes while the program is not exiting.

#include <QScrollArea>
#include <QWidget>
#include <functional>
#include <string>

#include "app/views/view_window.h"
#include "display/drawing_surface.h"

namespace zentrova {

// The scroll size of every view.
inline constexpr int kViewPageUnits = 2000;

// The page a view draws on: the widget inside the scroll area.
class PlotCanvas : public QWidget {
  Q_OBJECT

 public:
  explicit PlotCanvas(QWidget* parent) : QWidget(parent) {}
  std::function<void(QPainter&)> paint;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class PlotViewWindow : public ViewWindow {
  Q_OBJECT

 public:
  // `openKey`: the setting in section "General" that says the view is open.
  PlotViewWindow(const ViewSources& sources, std::string openKey, QWidget* parent);
  ~PlotViewWindow() override;

  // The area the plot fits: the visible part of the window in page units.
  PageSize DrawingArea() const;
  // Device pixels per inch of the page.
  double Dpi() const;
  // Invalidates the whole page; it is erased and drawn again.
  void Redraw();

  QScrollArea* scrollArea() const { return scroll_; }
  PlotCanvas* canvas() const { return canvas_; }
  const std::string& openKey() const { return openKey_; }

 protected:
  // Draws the plot; called with the document's lock held.
  virtual void Draw(DrawingSurface& surface, PageSize area) = 0;
  // The window's title from the document (called with its lock held).
  virtual QString Title() const = 0;
  // Sets the title from the document.
  void UpdateTitle();
  // The record's part of a title: its file name, or "viewing NAME" for a
  // record the operator opened to look at.
  QString RecordPart() const;

  ViewSources sources_;

 private:
  void PaintPage(QPainter& painter);

  std::string openKey_;
  QScrollArea* scroll_;
  PlotCanvas* canvas_;
};

// The file name of a record path, without its folders (either separator).
std::string RecordDisplayName(const std::string& path);

}  // namespace zentrova
