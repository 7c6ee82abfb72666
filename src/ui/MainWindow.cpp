#include "ui/MainWindow.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Text.h"
#include "ui/Pages.h"
#include "ui/Shell.h"

namespace lumora {

namespace {
const char* const kNavCaptions[6] = {"", "画趋势", "计划记录", "设置和监控", "胆码排序", "自动投注"};
const char* const kPageCaptions[6] = {"", "画线界面", "计划界面", "监控界面", "胆码排序", "附加功能"};
}  // namespace

MainWindow::MainWindow(Shell& shell, QWidget* parent) : QWidget(parent), shell_(shell) {
  setObjectName("Fmain");
  setWindowTitle("Lumora");

  auto* outer = new QHBoxLayout(this);
  auto* nav = new QVBoxLayout;
  for (int k = 1; k <= 5; ++k) {
    auto* b = new QPushButton(kNavCaptions[k], this);
    b->setObjectName(QString::fromStdString(Indexed("C_sst_0", k)));
    b->setMinimumHeight(36);
    nav->addWidget(b);
  }
  auto* tool = new QPushButton("缩水工具区", this);
  tool->setObjectName("C_sst_tool");
  nav->addWidget(tool);
  auto* mainArea = new QWidget(this);
  mainArea->setObjectName("Frame_main_area");
  nav->addWidget(mainArea, 1);
  outer->addLayout(nav);

  auto* stack = new QGridLayout;
  for (int k = 1; k <= 5; ++k) {
    auto* page = new QWidget(this);
    page->setObjectName(QString::fromStdString(Indexed("Frame_ding", k)));
    page->setAccessibleName(kPageCaptions[k]);
    stack->addWidget(page, 0, 0);
    pages_[k] = page;
  }
  outer->addLayout(stack, 1);

  BuildMainControls(shell, mainArea);
  BuildDrawingPage(shell, pages_[1]);
  BuildPlanPage(shell, pages_[2]);
  BuildMonitorPage(shell, pages_[3]);
  BuildBankerPage(shell, pages_[4]);
  BuildAutoBetPage(shell, pages_[5]);
  BuildSettingsCentre(shell, this);
  BuildSmallWindows(shell, this);
  BuildToolWindow(shell, this);
  BuildSideWindow(shell, this);
  shell.binder().bind(this);
}

void MainWindow::closeEvent(QCloseEvent* e) {
  e->accept();
}

}  // namespace lumora
