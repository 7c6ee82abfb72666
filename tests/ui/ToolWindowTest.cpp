// The shrink tool window driven through its widgets.
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>

#include "core/Text.h"
#include "ui/support/UiTest.h"
#include "core/controls/Fmain.h"
#include "core/controls/Ftool.h"

namespace lumora {
namespace {

struct ToolWindowTest : uitest::WindowTest {
  QWidget* tool = nullptr;

  void SetUp() override {
    WindowTest::SetUp();
    tool = window->findChild<QWidget*>(ftool::window);
    ASSERT_NE(tool, nullptr);
  }
  template <typename W>
  W* Find(const QString& name) { return uitest::Find<W>(tool, name); }
  void Click(const QString& name) { uitest::Click(tool, name); }
  void Open() { uitest::Click(window.get(), fmain::C_sst_tool); }
  QString Count() { return Find<QLabel>("L_zhushu")->text(); }
};

TEST_F(ToolWindowTest, OpensHidesAndKeepsItsMarks) {
  EXPECT_TRUE(tool->isWindow());
  EXPECT_EQ(tool->windowTitle(), "Lumora画线缩水区");
  EXPECT_FALSE(tool->isVisible());
  Open();
  EXPECT_TRUE(tool->isVisible());
  Click("C_dingwei_sha_20");
  EXPECT_EQ(session.cx.form.backColor(ftool::C_dingwei_sha[20]), 255);
  EXPECT_EQ(Find<QPushButton>("C_dingwei_sha_20")->palette().color(QPalette::Button), QColor("#ff0000"));
  Click("C_guolv_ks_0");
  EXPECT_EQ(Count(), "900");
  tool->close();
  EXPECT_FALSE(tool->isVisible());
  Open();
  EXPECT_TRUE(tool->isVisible());
  Click("C_guolv_ks_0");
  EXPECT_EQ(Count(), "900");
}

TEST_F(ToolWindowTest, OpeningItAgainBringsItToTheFront) {
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  auto activeBecomes = [](QWidget* w) { return QTest::qWaitFor([w] { return QApplication::activeWindow() == w; }, 3000); };
  Open();
  EXPECT_TRUE(activeBecomes(tool));
  window->activateWindow();
  EXPECT_TRUE(activeBecomes(window.get()));
  Open();
  EXPECT_TRUE(activeBecomes(tool));
}

TEST_F(ToolWindowTest, CaptionsAndTheClearButtons) {
  EXPECT_EQ(Find<QCheckBox>("Check_012_paichu_5")->text(), "012");
  EXPECT_EQ(Find<QCheckBox>("Check_pailie_jiou_1")->text(), "奇偶奇");
  EXPECT_EQ(Find<QPushButton>("C_all_14")->text(), "清");
  EXPECT_EQ(Find<QPushButton>("C_all_26")->text(), "全");
  EXPECT_EQ(Find<QPlainTextEdit>("T_lj_dd")->toPlainText(), "杀垃圾单式大底\n");
  Click("C_danzu_1");
  EXPECT_EQ(session.cx.form.backColor(ftool::C_danzu[1]), 65280);
  QTest::mouseClick(Find<QCheckBox>("Check_hewei_sha_0"), Qt::LeftButton);
  Click("C_guolv_ks_0");
  EXPECT_LT(Count().toInt(), 900);
  Click("C_guolv_ks_1");
  EXPECT_EQ(QString::fromStdString(clipboard.content), Find<QPlainTextEdit>("Tdd")->toPlainText());
  Click("C_all_12");
  EXPECT_TRUE(Find<QCheckBox>("Check_012_paichu_26")->isChecked());
  Click("C_guolv_ks_2");
  EXPECT_FALSE(Find<QCheckBox>("Check_012_paichu_26")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>("Check_hewei_sha_0")->isChecked());
  EXPECT_EQ(session.cx.form.backColor(ftool::C_danzu[1]), 14737632);
  EXPECT_EQ(Find<QPlainTextEdit>("T_lj_dd")->toPlainText(), "垃圾单式大底");
  EXPECT_EQ(Find<QPlainTextEdit>("Tdd")->toPlainText(), "");
  EXPECT_EQ(Count(), "0");
  QTest::mouseDClick(Find<QPlainTextEdit>("T_lj_dd")->viewport(), Qt::LeftButton);
  EXPECT_EQ(Find<QPlainTextEdit>("T_lj_dd")->toPlainText(), "");
}

TEST_F(ToolWindowTest, Screenshot) {
  const QByteArray dir = qgetenv("LUMORA_SHOT_DIR");
  if (dir.isEmpty()) GTEST_SKIP() << "set LUMORA_SHOT_DIR to save a picture of the window";
  Open();
  for (const char* b : {"C_fushi_paichu_1", "C_fushi_paichu_12", "C_fushi_paichu_23", "C_dingwei_sha_20",
                        "C_danzu_1", "C_danzu_2", "C_danzu_gs_1", "C_danzu_gs_2"})
    Click(b);
  QTest::mouseClick(Find<QCheckBox>("Check_012_paichu_0"), Qt::LeftButton);
  QTest::mouseClick(Find<QCheckBox>("Check_kuadu_sha_0"), Qt::LeftButton);
  Click("C_guolv_ks_0");
  tool->resize(1400, 720);
  QTest::qWait(qEnvironmentVariableIntValue("LUMORA_SHOT_HOLD"));
  EXPECT_TRUE(tool->grab().save(QString(dir) + "/shrink.png"));
}

}  // namespace
}  // namespace lumora
