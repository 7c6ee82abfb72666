// The shrink tool window driven through its widgets.
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "core/controls/Ftool.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

struct ToolWindowTest : uitest::WindowTest {
  QWidget* tool = nullptr;

  void SetUp() override {
    WindowTest::SetUp();
    tool = window->findChild<QWidget*>(ObjectName(ftool::window));
    ASSERT_NE(tool, nullptr);
  }
  template <typename W>
  W* Find(const ControlRef& control) {
    return uitest::Find<W>(tool, control);
  }
  void Click(const ControlRef& control) { uitest::Click(tool, control); }
  void Open() { uitest::Click(window.get(), fmain::C_sst_tool); }
  QString Count() { return Find<QLabel>(ftool::L_zhushu)->text(); }
};

TEST_F(ToolWindowTest, OpensHidesAndKeepsItsMarks) {
  EXPECT_TRUE(tool->isWindow());
  EXPECT_EQ(tool->windowTitle(), "Lumora画线缩水区");
  EXPECT_FALSE(tool->isVisible());
  Open();
  EXPECT_TRUE(tool->isVisible());
  Click(ftool::C_dingwei_sha[20]);
  EXPECT_EQ(session.cx.form.backColor(ftool::C_dingwei_sha[20]), 255);
  EXPECT_EQ(Find<QPushButton>(ftool::C_dingwei_sha[20])->palette().color(QPalette::Button), QColor("#ff0000"));
  Click(ftool::C_guolv_ks[0]);
  EXPECT_EQ(Count(), "900");
  tool->close();
  EXPECT_FALSE(tool->isVisible());
  Open();
  EXPECT_TRUE(tool->isVisible());
  Click(ftool::C_guolv_ks[0]);
  EXPECT_EQ(Count(), "900");
}

TEST_F(ToolWindowTest, OpeningItAgainBringsItToTheFront) {
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  auto activeBecomes = [](QWidget* w) {
    return QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, 3000);
  };
  Open();
  EXPECT_TRUE(activeBecomes(tool));
  window->activateWindow();
  EXPECT_TRUE(activeBecomes(window.get()));
  Open();
  EXPECT_TRUE(activeBecomes(tool));
}

TEST_F(ToolWindowTest, CaptionsAndTheClearButtons) {
  EXPECT_EQ(Find<QCheckBox>(ftool::Check_012_paichu[5])->text(), "012");
  EXPECT_EQ(Find<QCheckBox>(ftool::Check_pailie_jiou[1])->text(), "奇偶奇");
  EXPECT_EQ(Find<QPushButton>(ftool::C_all[14])->text(), "清");
  EXPECT_EQ(Find<QPushButton>(ftool::C_all[26])->text(), "全");
  EXPECT_EQ(Find<QPlainTextEdit>(ftool::T_lj_dd)->toPlainText(), "杀垃圾单式大底\n");
  Click(ftool::C_danzu[1]);
  EXPECT_EQ(session.cx.form.backColor(ftool::C_danzu[1]), 65280);
  QTest::mouseClick(Find<QCheckBox>(ftool::Check_hewei_sha[0]), Qt::LeftButton);
  Click(ftool::C_guolv_ks[0]);
  EXPECT_LT(Count().toInt(), 900);
  Click(ftool::C_guolv_ks[1]);
  EXPECT_EQ(QString::fromStdString(clipboard.content), Find<QPlainTextEdit>(ftool::Tdd)->toPlainText());
  Click(ftool::C_all[12]);
  EXPECT_TRUE(Find<QCheckBox>(ftool::Check_012_paichu[26])->isChecked());
  Click(ftool::C_guolv_ks[2]);
  EXPECT_FALSE(Find<QCheckBox>(ftool::Check_012_paichu[26])->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(ftool::Check_hewei_sha[0])->isChecked());
  EXPECT_EQ(session.cx.form.backColor(ftool::C_danzu[1]), 14737632);
  EXPECT_EQ(Find<QPlainTextEdit>(ftool::T_lj_dd)->toPlainText(), "垃圾单式大底");
  EXPECT_EQ(Find<QPlainTextEdit>(ftool::Tdd)->toPlainText(), "");
  EXPECT_EQ(Count(), "0");
  QTest::mouseDClick(Find<QPlainTextEdit>(ftool::T_lj_dd)->viewport(), Qt::LeftButton);
  EXPECT_EQ(Find<QPlainTextEdit>(ftool::T_lj_dd)->toPlainText(), "");
}

TEST_F(ToolWindowTest, Screenshot) {
  if (uitest::ShotDir().isEmpty()) GTEST_SKIP() << "set LUMORA_SHOT_DIR to save a picture of the window";
  Open();
  for (Button b :
       {ftool::C_fushi_paichu[1], ftool::C_fushi_paichu[12], ftool::C_fushi_paichu[23], ftool::C_dingwei_sha[20],
        ftool::C_danzu[1], ftool::C_danzu[2], ftool::C_danzu_gs[1], ftool::C_danzu_gs[2]})
    Click(b);
  QTest::mouseClick(Find<QCheckBox>(ftool::Check_012_paichu[0]), Qt::LeftButton);
  QTest::mouseClick(Find<QCheckBox>(ftool::Check_kuadu_sha[0]), Qt::LeftButton);
  Click(ftool::C_guolv_ks[0]);
  tool->resize(1400, 720);
  QTest::qWait(qEnvironmentVariableIntValue("LUMORA_SHOT_HOLD"));
  EXPECT_TRUE(tool->grab().save(uitest::ShotDir() + "/shrink.png"));
}

}  // namespace
}  // namespace lumora
