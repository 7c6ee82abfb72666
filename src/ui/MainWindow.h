#pragma once
// Fmain: the navigation column, the main controls and the five pages lying on top of each other.
#include <QSize>
#include <QWidget>

class QScrollArea;

namespace lumora {

class Shell;

class MainWindow : public QWidget {
  Q_OBJECT
 public:
  explicit MainWindow(Shell& shell, QWidget* parent = nullptr);
  QWidget* page(int index) const { return pages_[index]; }  // 1..5
  // The window's size with every page shown whole, without scrolling.
  QSize naturalSize() const;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  // The window manager's frame: known once the window is on the screen, assumed before.
  QMargins frameExtent() const;
  // Shrinks the window until its frame fits the screen's available area; once the frame is known,
  // also moves it inside.
  void fitToScreen();

  Shell& shell_;
  QWidget* pages_[6] = {};
  bool closing_ = false;     // the user answered Yes: the next close goes through
  bool sized_ = false;       // sized to the screen at its first showing
  bool frameKnown_ = false;  // the window manager's frame came, soon after the first showing
  QSize wanted_;             // the first size before it was fitted to the screen
  QWidget* pagesHolder_ = nullptr;
  QScrollArea* scroller_ = nullptr;
};

}  // namespace lumora
