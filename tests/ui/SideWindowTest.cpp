// The side window Fk driven through its widgets: docking, close refused, widen and collapse,
// and a scheme saved, changed and loaded back by double click.
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>

#include "core/NumberSet.h"
#include "core/Text.h"
#include "core/controls/Fk.h"
#include "core/controls/Fmain.h"
#include "plan/PoolBoard.h"
#include "ui/ChartView.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

struct SideWindowTest : uitest::WindowTest {
  QTemporaryDir data;
  QWidget* side = nullptr;

  void SetUp() override {
    QDir(data.path()).mkpath("fa");
    session.cx.data = DataFolder(data.path().toStdString());
    WindowTest::SetUp();
    side = window->findChild<QWidget*>(ObjectName(fk::window));
    ASSERT_NE(side, nullptr);
    window->move(20, 20);
    window->show();
    shell->run([](Session& s) { s.cx.form.setVisible(fk::window, true); });
  }
  template <typename W>
  W* Find(QWidget* root, const ControlRef& control) {
    return uitest::Find<W>(root, control);
  }
  void Click(QWidget* root, const ControlRef& control) { uitest::Click(root, control); }
  // Docked: its top left corner just right of the main window's frame, at the frame's top.
  void ExpectDocked() {
    EXPECT_TRUE(uitest::Eventually([&] {
      return side->pos() == QPoint(window->frameGeometry().right() + 1, window->frameGeometry().top());
    })) << side->pos().x()
        << "," << side->pos().y();
  }
};

TEST_F(SideWindowTest, DockedCollapsedWidenedAndNeverClosed) {
  EXPECT_TRUE(side->isWindow());
  EXPECT_EQ(side->windowTitle(), "K线预览界面");
  EXPECT_TRUE(side->isVisible());
  EXPECT_EQ(side->width(), 1);
  EXPECT_EQ(side->height(), 10430 / 15);
  ExpectDocked();
  EXPECT_FALSE(side->close());
  EXPECT_TRUE(side->isVisible());

  // Paint the board, then widen and collapse: the pictures keep their scenes.
  shell->run([](Session& s) {
    s.cx.draws.history[1] = {"001", "12345"};
    s.cx.form.setText(fmain::T_dd_beiyong[0], "345");
    PaintPoolBoard(s.cx);
  });
  auto* board = Find<ChartView>(side, fk::Pic_k[5]);
  const size_t items = board->scene().items.size();
  EXPECT_GT(items, 30u);
  QFile file(data.path() + "/fa/late.fa");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  Click(window.get(), fmain::C_k_yulan_shou);
  EXPECT_EQ(side->width(), 3780 / 15);
  EXPECT_EQ(Find<QListWidget>(side, fk::List_fangan)->count(), 1);
  Click(window.get(), fmain::C_k_yulan_cls);
  EXPECT_EQ(side->width(), 1);
  EXPECT_TRUE(side->isVisible());
  EXPECT_EQ(board->scene().items.size(), items);

  window->move(60, 40);
  ExpectDocked();
}

TEST_F(SideWindowTest, SaveChangeAndDoubleClickLoadsBack) {
  shell->run([](Session& s) {
    for (int i = 0; i < 15; ++i) s.cx.form.set(fmain::T_quxian_zhushu[i], 110 + 10 * i);
    s.cx.form.setText(fmain::T_moshier_input, "01.02.03.04.05=12345\r\n01.03.05.07.09.11=1234\r\n10.11.12.13=12");
    s.cx.form.setText(fmain::T_jh_dadi_chongfu_cs, "18");
  });
  Click(window.get(), fmain::C_k_yulan_shou);
  EXPECT_EQ(Find<QLineEdit>(side, fk::T_fangan_name)->text(), "800+[1]");
  Click(side, fk::C_fangan[0]);
  EXPECT_EQ(prompter.lastText(), "保存完成");
  auto* list = Find<QListWidget>(side, fk::List_fangan);
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->item(0)->text(), "800+[1].fa");

  shell->run([](Session& s) {
    s.cx.form.setText(fmain::T_quxian_zhushu[3], "999");
    s.cx.form.setText(fmain::T_moshier_input, "");
  });
  // Double click on the selected scheme.
  list->setCurrentRow(0);
  Q_EMIT list->itemDoubleClicked(list->item(0));
  EXPECT_EQ(prompter.lastText(), "参数读入成功");
  EXPECT_EQ(session.cx.form.text(fmain::T_quxian_zhushu[3]), "140");
  EXPECT_EQ(SplitCrLf(session.cx.form.text(fmain::T_moshier_input)).size(), 3u);

  Click(side, fk::C_fangan[1]);
  EXPECT_EQ(list->count(), 0);
  EXPECT_FALSE(QFile::exists(data.path() + "/fa/800+[1].fa"));
}

TEST_F(SideWindowTest, Screenshots) {
  const QString dir = uitest::ShotDir();
  if (dir.isEmpty() || QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "set LUMORA_SHOT_DIR and run on X11";
  shell->run([](Session& s) {
    for (int i = 1; i <= 120; ++i)
      s.cx.draws.history[static_cast<size_t>(i)] = {Pad(i, 3), Pad((i * 7919) % 100000, 5)};
    s.cx.draws.rebuildSubSeries();
    for (int b = 0; b < 8; ++b) {
      std::string pool;
      for (int n = b * 37; n < 1000; n += 3 + b) pool += ThreeDigits(n) + " ";
      s.cx.form.setText(fmain::T_dd_beiyong[b], Trim(pool));
    }
    PaintPoolBoard(s.cx);
  });
  window->setMinimumSize(0, 0);
  window->resize(1200, 740);
  QTest::qWait(100);
  // Keep the docked window on the screen: on a narrow one the main window stands partly off it.
  const int room = window->screen()->availableGeometry().width() - 3780 / 15 - window->frameGeometry().width();
  window->move(std::min(0, room), 0);
  QTest::qWait(300);
  QProcess::execute("import", {"-window", "root", dir + "/side-window-collapsed.png"});
  Click(window.get(), fmain::C_k_yulan_shou);
  QTest::qWait(400);
  QProcess::execute("import", {"-window", "root", dir + "/side-window-wide.png"});
  Click(window.get(), fmain::C_sz_zhongxin[0]);
  QTest::qWait(700);
  QProcess::execute("import", {"-window", "root", dir + "/settings-centre-open.png"});
}

}  // namespace
}  // namespace lumora
