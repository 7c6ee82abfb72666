// Boxes hold nothing up: a notice is modeless and shown once while it is open, a question's
// answer comes back later through the shell (the deletion dialogue goes on box by box), and a
// notice raised by the after-draw pipeline stays open while further draws are fetched, applied
// and judged.
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <type_traits>

#include "core/Text.h"
#include "core/controls/Fmain.h"
#include "plan/PlanTexts.h"
#include "session/AfterDraw.h"
#include "session/DrawCycle.h"
#include "ui/Translations.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

// The boxes on the screen now, of type W, whose text or label is `text`.
template <typename W>
QList<W*> Shown(const QString& text) {
  QList<W*> found;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<W*>(w);
    if (!box || !box->isVisible()) continue;
    if constexpr (std::is_same_v<W, QMessageBox>) {
      if (box->text() == text) found << box;
    } else {
      if (box->labelText() == text) found << box;
    }
  }
  return found;
}

struct BoxesTest : uitest::WindowTest {
  std::unique_ptr<QtPrompter> boxes;
  void SetUp() override {
    WindowTest::SetUp();
    boxes = std::make_unique<QtPrompter>(
        [this](std::function<void()> answer) { shell->run([answer](Session&) { answer(); }); }, window.get());
    session.cx.ports.prompter = boxes.get();
  }
};

TEST_F(BoxesTest, NoticeDoesNotHoldTheOperationAndIsNotShownTwiceWhileOpen) {
  window->show();
  auto inform = [&](const char* text, const char* title) {
    shell->run([=](Session& s) {
      s.cx.inform(text, title);
      s.cx.form.setText(fmain::Tnew, text);  // the operation goes on after the notice
    });
    EXPECT_FALSE(session.gate.busy());
  };
  inform("甲", "提示");
  EXPECT_EQ(Find<QLabel>(fmain::Tnew)->text(), "甲");
  ASSERT_EQ(Shown<QMessageBox>("甲").size(), 1);
  QMessageBox* first = Shown<QMessageBox>("甲")[0];
  EXPECT_FALSE(first->isModal());
  inform("甲", "提示");
  EXPECT_EQ(Shown<QMessageBox>("甲").size(), 1);
  inform("甲", "出错");  // another title is another notice
  inform("乙", "提示");
  EXPECT_EQ(Shown<QMessageBox>("甲").size(), 2);
  EXPECT_EQ(Shown<QMessageBox>("乙").size(), 1);
  EXPECT_EQ(boxes->openNotices(), 3u);
  // Closed by the user, the same notice shows again the next time.
  first->button(QMessageBox::Ok)->click();
  ASSERT_TRUE(uitest::Eventually([&] { return boxes->openNotices() == 2; }));
  inform("甲", "提示");
  EXPECT_EQ(Shown<QMessageBox>("甲").size(), 2);
  EXPECT_EQ(boxes->openNotices(), 3u);
}

TEST_F(BoxesTest, DeletionDialogueGoesOnBoxByBoxWithoutHoldingTheProgram) {
  DrawStore& d = session.cx.draws;
  for (int i = 1; i <= kDeepRows; ++i) d.deep[static_cast<size_t>(i)] = DrawRecord{Pad(kDeepRows + 1 - i, 3), "12345"};
  for (int i = 1; i <= kHistoryRows; ++i) d.incoming[static_cast<size_t>(i)] = d.deep[static_cast<size_t>(i)];
  shell->run([](Session& s) { ApplyDraws(s); });
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));

  Click(fmain::C_kjh_shanchu);
  for (const char* question : {"是否要删除最近开奖号数据？", "确定要删除吗？"}) {
    ASSERT_TRUE(uitest::Eventually([&] { return Shown<QMessageBox>(question).size() == 1; })) << question;
    EXPECT_FALSE(session.gate.busy());
    // Other work runs while the question waits.
    shell->run([](Session& s) { s.cx.form.setText(fmain::Tnew, "运行中"); });
    EXPECT_EQ(Find<QLabel>(fmain::Tnew)->text(), "运行中");
    Shown<QMessageBox>(question)[0]->button(QMessageBox::Yes)->click();
  }
  const QString count = "需要删除多少期开奖号？[1~20]";
  ASSERT_TRUE(uitest::Eventually([&] { return Shown<QInputDialog>(count).size() == 1; }));
  EXPECT_EQ(d.history[1].period, d.deep[1].period);
  QInputDialog* input = Shown<QInputDialog>(count)[0];
  input->setTextValue("2");
  input->accept();
  ASSERT_TRUE(uitest::Eventually([&] { return d.history[1].period == d.deep[3].period; }));
  EXPECT_EQ(Shown<QMessageBox>("删除成功").size(), 1);

  // A No ends the dialogue; closing the box counts as No.
  const std::string now = d.history[1].period;
  Click(fmain::C_kjh_shanchu);
  ASSERT_TRUE(uitest::Eventually([&] { return Shown<QMessageBox>("是否要删除最近开奖号数据？").size() == 1; }));
  Shown<QMessageBox>("是否要删除最近开奖号数据？")[0]->reject();
  QTest::qWait(200);
  EXPECT_TRUE(Shown<QMessageBox>("确定要删除吗？").isEmpty());
  EXPECT_EQ(d.history[1].period, now);
}

TEST_F(BoxesTest, DialogButtonsReadInChinese) {
  ASSERT_TRUE(InstallQtTranslations(uitest::App()));
  QMessageBox notice(QMessageBox::Information, "提示", "x", QMessageBox::Ok);
  EXPECT_EQ(notice.button(QMessageBox::Ok)->text(), "确定");
  QMessageBox question(QMessageBox::Question, "提示", "x", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_TRUE(question.button(QMessageBox::Yes)->text().startsWith("是"))
      << question.button(QMessageBox::Yes)->text().toStdString();
  EXPECT_TRUE(question.button(QMessageBox::No)->text().startsWith("否"))
      << question.button(QMessageBox::No)->text().toStdString();
  EXPECT_EQ(question.button(QMessageBox::Cancel)->text(), "取消");
}

struct PipelineBoxTest : BoxesTest {
  uitest::FeedChild feed;
  void SetUp() override {
    UseDataCopy();
    UseRealHttp();
    BoxesTest::SetUp();
    window->resize(1280, 800);
    window->show();
    StartProgram();
  }
};

TEST_F(PipelineBoxTest, NoticeFromTheAfterDrawPipelineStaysOpenWhileDrawsGoOn) {
  ASSERT_TRUE(feed.start({"--seed", "11", "--interval", "1"}));
  session.cx.service.feedEndpoint = feed.url("/feed");
  FetchNextDraw();  // the first history
  Click(fmain::C_sst_0[2]);
  Click(fmain::C_jihua_ks);
  ASSERT_FALSE(session.cx.form.text(fmain::T_jihua_jj_dadi).empty());
  // The repeat count emptied: the next plan cannot be made and says so after every draw.
  Find<QLineEdit>(fmain::T_jh_dadi_chongfu_cs)->clear();
  const QString error = plan_text::kModeOneError;
  QTest::qWait(1100);
  FetchNextDraw();
  ASSERT_EQ(Shown<QMessageBox>(error).size(), 1);
  QMessageBox* box = Shown<QMessageBox>(error)[0];
  const int32_t judgedBefore = session.stats.plan().periods;
  const std::string periodBefore = session.cx.draws.history[1].period;
  for (int draw = 1; draw <= 3; ++draw) {
    QTest::qWait(1100);  // the feed's next draw
    FetchNextDraw();
    // Still the one box, open all along.
    ASSERT_EQ(Shown<QMessageBox>(error), QList<QMessageBox*>{box}) << draw;
  }
  EXPECT_NE(session.cx.draws.history[1].period, periodBefore);
  EXPECT_EQ(session.stats.plan().periods, judgedBefore + 3);
  EXPECT_EQ(boxes->openNotices(), 1u);
}

}  // namespace
}  // namespace lumora
