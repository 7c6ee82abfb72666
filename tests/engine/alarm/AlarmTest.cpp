// The alarm pattern, the alarm window's timers and the copy notice.
#include <gtest/gtest.h>

#include <filesystem>

#include "alarm/Notices.h"
#include "core/Files.h"
#include "core/controls/Fbj.h"
#include "core/controls/Fmain.h"
#include "core/controls/Ftishi.h"
#include "engine/support/EngineFixture.h"

namespace lumora {
namespace {

struct Fixture : testing::RecordedContext {
  AlarmState alarm;
  RecordingSound sound;
  Fixture() {
    cx.ports.sound = &sound;
    cx.data = DataFolder("/data-folder");
  }
  std::string Sanitize(const std::string& typed) {
    cx.form.setText(fmain::T_bj, typed);
    return SanitizeAlarmPattern(cx);
  }
};

TEST(AlarmPattern, SanitizerKeepsOnlyMarksAndAtMostFive) {
  Fixture f;
  EXPECT_EQ(f.Sanitize("中,挂 中"), "中挂中");
  EXPECT_EQ(f.cx.form.text(fmain::T_bj), "中挂中");
  EXPECT_EQ(f.Sanitize("a中b挂1\xE4"), "中挂");  // a broken byte is dropped too
  EXPECT_EQ(f.Sanitize("中中挂挂挂"), "中中挂挂挂");
  EXPECT_TRUE(f.prompter.notices.empty());
  EXPECT_EQ(f.Sanitize("中中挂挂挂中"), "");
  EXPECT_EQ(f.cx.form.text(fmain::T_bj), "");
  ASSERT_EQ(f.prompter.notices.size(), 1u);
  EXPECT_EQ(f.prompter.notices[0].text, "目前只支持监控5期内");
  EXPECT_EQ(f.prompter.notices[0].title, "设置错误");
  EXPECT_EQ(f.Sanitize("x中x中x中x中x中x"), "中中中中中");  // cleaned first, then counted
}

TEST(AlarmPattern, MatchesTheNewestEndOfTheTrail) {
  EXPECT_TRUE(AlarmPatternMatches("挂挂", "中中中挂挂"));
  EXPECT_TRUE(AlarmPatternMatches("挂挂", "挂挂"));
  EXPECT_FALSE(AlarmPatternMatches("挂挂", "挂挂中"));
  EXPECT_FALSE(AlarmPatternMatches("", "挂挂"));
  EXPECT_FALSE(AlarmPatternMatches("挂挂挂挂挂挂", "挂挂挂挂挂挂挂"));
  EXPECT_FALSE(AlarmPatternMatches("中中", "中"));

  Fixture f;
  f.cx.form.setText(fmain::T_bj, "挂挂");
  EXPECT_FALSE(TestAlarmPattern(f.cx, f.alarm, "中挂挂"));  // not ticked
  f.cx.form.setChecked(fmain::Check_baojing, true);
  EXPECT_TRUE(TestAlarmPattern(f.cx, f.alarm, "中挂挂"));
  f.cx.form.setText(fmain::T_bj, "");
  EXPECT_FALSE(TestAlarmPattern(f.cx, f.alarm, "中挂挂"));
}

TEST(AlarmWindow, SoundAfter100MsCountdownTenTimes600Ms) {
  Fixture f;
  RaiseAlarm(f.cx, f.alarm);
  EXPECT_TRUE(f.cx.form.visible(fbj::window));
  EXPECT_EQ(f.cx.form.text(fbj::L20s), "10");
  EXPECT_EQ(f.cx.form.timer(fbj::Timer_bj).intervalMs, 100);
  EXPECT_EQ(f.cx.form.timer(fbj::Timer1).intervalMs, 600);
  AlarmSoundTick(f.cx, f.alarm);
  // The data folder's file, in the system's own path spelling ("\\" before the name on Windows).
  EXPECT_EQ(f.sound.played, (std::vector<std::string>{PathToUtf8(std::filesystem::path("/data-folder") / "bj.wav")}));
  EXPECT_FALSE(f.cx.form.timer(fbj::Timer_bj).enabled);
  std::vector<std::string> shown;
  for (int i = 0; i < 10; ++i) {
    EXPECT_TRUE(f.cx.form.visible(fbj::window));
    AlarmCountdownTick(f.cx, f.alarm);
    shown.push_back(f.cx.form.text(fbj::L20s));
  }
  EXPECT_EQ(shown.front(), "9");
  EXPECT_EQ(shown.back(), "0");
  EXPECT_FALSE(f.cx.form.visible(fbj::window));
  EXPECT_FALSE(f.cx.form.timer(fbj::Timer1).enabled);
  // Raised again: a fresh countdown, one more sound.
  RaiseAlarm(f.cx, f.alarm);
  EXPECT_EQ(f.cx.form.text(fbj::L20s), "10");
  EXPECT_EQ(f.alarm.raised, 2);
}

TEST(CopyNotice, FlashesAndClosesAfter600Ms) {
  Fixture f;
  ShowCopyNotice(f.cx);
  EXPECT_TRUE(f.cx.form.visible(ftishi::window));
  EXPECT_EQ(f.cx.form.timer(ftishi::Timer_shan).intervalMs, 100);
  EXPECT_EQ(f.cx.form.timer(ftishi::Timer1).intervalMs, 600);
  int flips = 0;
  int last = f.cx.form.backColor(ftishi::Shape_shan[0]);
  for (int i = 0; i < 6; ++i) {
    NoticeFlashTick(f.cx);
    int now = f.cx.form.backColor(ftishi::Shape_shan[0]);
    EXPECT_EQ(f.cx.form.backColor(ftishi::Shape_shan[3]), now);
    if (now != last) ++flips;
    last = now;
  }
  EXPECT_EQ(flips, 6);
  NoticeCloseTick(f.cx);
  EXPECT_FALSE(f.cx.form.visible(ftishi::window));
  EXPECT_FALSE(f.cx.form.timer(ftishi::Timer_shan).enabled);
}

}  // namespace
}  // namespace lumora
