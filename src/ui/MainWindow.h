#pragma once
// Fmain: the navigation column, the main controls and the five pages lying on top of each other.
#include <QWidget>

namespace lumora {

class Shell;

class MainWindow : public QWidget {
  Q_OBJECT
 public:
  explicit MainWindow(Shell& shell, QWidget* parent = nullptr);
  QWidget* page(int index) const { return pages_[index]; }  // 1..5

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  Shell& shell_;
  QWidget* pages_[6] = {};
  bool closing_ = false;  // the user answered Yes: the next close goes through
};

}  // namespace lumora
