// The banker tab driven through its widgets, with the recording ports.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include "core/NumberSet.h"
#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "tools/BankerRanking.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

struct BankerPageTest : uitest::WindowTest {
  void SetUp() override {
    for (int i = 1; i <= 120; ++i) session.cx.draws.history[i] = DrawRecord{Pad(121 - i, 3), i % 2 ? "00123" : "00456"};
    WindowTest::SetUp();
  }
};

TEST_F(BankerPageTest, RefreshPickAddFilterAndCopy) {
  Click(fmain::C_paixu_shuaxin);
  auto* list = Find<QListWidget>(fmain::List01);
  ASSERT_EQ(list->count(), 31);
  EXPECT_EQ(list->currentRow(), 30);
  EXPECT_EQ(list->item(30)->text(), "121期：1-23-456：出几：等中奖.");
  QListWidgetItem* line = list->item(29);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(line).center());
  EXPECT_EQ(Find<QLineEdit>(fmain::T_paixu_fenjie_houbei)->text().toStdString(),
            Split(line->text().toStdString(), "：")[1]);

  auto* input = Find<QPlainTextEdit>(fmain::T_paixu_input);
  QTest::mouseDClick(input->viewport(), Qt::LeftButton);
  EXPECT_EQ(input->toPlainText(), "");
  Click(fmain::C_paixu_add);
  EXPECT_EQ(Find<QLineEdit>(fmain::T_paixu_fenjie_houbei)->text(), "");
  EXPECT_EQ(input->toPlainText().toStdString(), Split(line->text().toStdString(), "：")[1] + "=12");

  input->setPlainText("12-34=2 junk\n");
  Click(fmain::C_paixu_go);
  EXPECT_EQ(input->toPlainText(), "12-34=2");
  EXPECT_EQ(input->textCursor().position(), input->toPlainText().size());
  const QString pool = Find<QPlainTextEdit>(fmain::T_paixu_dadi)->toPlainText();
  EXPECT_TRUE(pool.startsWith("013 "));
  EXPECT_EQ(Find<QLabel>(fmain::Label_paixu_zhushu)->text().toInt(), NumberSet::FromText(pool.toStdString()).count());
  Click(fmain::C_paixu_copy);
  EXPECT_EQ(QString::fromStdString(clipboard.content), pool);
}

TEST_F(BankerPageTest, WindowButtonsAndRefusals) {
  Find<QLineEdit>(fmain::T_paixu_qishu_02)->setText("49");
  Click(fmain::C_paixu_qishu[1]);
  Click(fmain::C_paixu_qishu[1]);
  EXPECT_EQ(Find<QLineEdit>(fmain::T_paixu_qishu_02)->text(), "50");
  EXPECT_EQ(Find<QListWidget>(fmain::List02)->count(), 31);
  Find<QLineEdit>(fmain::T_paixu_fenjiemoshi)->setText("123");
  Click(fmain::C_paixu_shuaxin);
  ASSERT_FALSE(prompter.notices.empty());
  EXPECT_EQ(prompter.notices.back().title, "出错提示");
  EXPECT_EQ(Find<QListWidget>(fmain::List01)->count(), 0);
  Click(fmain::C_paixu_add);
  EXPECT_EQ(prompter.notices.back().text, "请输入数据");
}

TEST_F(BankerPageTest, Screenshot) {
  if (uitest::ShotDir().isEmpty()) GTEST_SKIP() << "set LUMORA_SHOT_DIR to save a picture of the tab";
  Click(fmain::C_paixu_shuaxin);
  Click(fmain::C_paixu_shuaxin_02);
  Click(fmain::C_paixu_go);
  Click(fmain::C_sst_0[4]);
  shell->run([](Session& s) { s.cx.form.setVisible(fmain::Frame_canshu[0], false); });  // as after start-up
  window->resize(1500, 950);
  window->show();
  QTest::qWait(qEnvironmentVariableIntValue("LUMORA_SHOT_HOLD"));
  EXPECT_TRUE(window->grab().save(uitest::ShotDir() + "/banker.png"));
}

}  // namespace
}  // namespace lumora
