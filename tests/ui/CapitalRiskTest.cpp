// The risk of ruin under the capital frame follows the boxes as the user types, through the
// program's own timer.
#include <QLabel>
#include <QLineEdit>

#include "core/controls/Fmain.h"
#include "session/AfterDraw.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

struct CapitalRiskTest : uitest::WindowTest {
  void SetUp() override {
    UseShippedData();
    WindowTest::SetUp();
    StartProgram();
    window->show();
  }
};

TEST_F(CapitalRiskTest, LabelFollowsThePlanPoolAndTheLimits) {
  auto* label = Find<QLabel>(fmain::L_zijin_fengxian);
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->text().contains("计划注数须在1~1000之间")) << label->text().toStdString();
  // A plan of 50 numbers: the figures appear within a tick or two.
  shell->run([](Session& s) { s.cx.form.setText(fmain::T_jihua_jj_dadi_zhushu, "50"); });
  ASSERT_TRUE(uitest::Eventually([&] { return label->text().contains("每期50注"); }, 5000))
      << label->text().toStdString();
  const QString before = label->text();
  EXPECT_TRUE(before.contains("先到资金下限 ")) << before.toStdString();
  // The user raises the stop-loss: the figures change without any button.
  Find<QLineEdit>(fmain::T_zijin[3])->setText("100");
  ASSERT_TRUE(uitest::Eventually([&] { return label->text() != before; }, 5000));
  EXPECT_TRUE(label->text().contains("每期50注")) << label->text().toStdString();
}

}  // namespace
}  // namespace lumora
