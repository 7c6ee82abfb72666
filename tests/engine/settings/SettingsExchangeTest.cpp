#include <gtest/gtest.h>

#include "SchemeSupport.h"
#include "core/controls/Fmain.h"
#include "settings/SettingsCentre.h"
#include "settings/SettingsExchange.h"

namespace lumora {
namespace {

const char* const kDesignRecord =
    "*sz*110/120/130/140/150/160/170/180/190/200/210/220/230/240/250*18/08.09.10.11.12.13.14*"
    "01.02.03.04.05=12345@01.03.05.07.09.11=1234@10.11.12.13=12/01.02.03*1/1/1/1/1/1/1/1/1/1/1/1/1/1/1*01.02.03*sz*";

struct Exchange : ::testing::Test, testing::RecordedContext {
  SettingsState st;
  ScriptedHttp http;

  void SetUp() override {
    cx.ports.http = &http;
    cx.service.settingsEndpoint = "http://127.0.0.1:1/settings";
    cx.service.user = "li lei";
    cx.service.password = "p&w#";
    cx.service.randomCode = "42";
    test::SetDesignValues(cx.form);
  }
  void download(const std::string& answer) {
    DownloadSettings(cx, st);
    ASSERT_TRUE(http.answer(answer));
  }
};

TEST_F(Exchange, RecordOfTheDesignValues) {
  SettingsRecordText r = BuildSettingsRecord(cx.form);
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.text, kDesignRecord);
  cx.form.setText(fmain::T_jiankong_rc, "  01/02 ");  // the last field is not split: "/" may stay
  EXPECT_TRUE(BuildSettingsRecord(cx.form).text.ends_with("*01/02*sz*"));
}

TEST_F(Exchange, UploadSendsTheEncodedRecordAndShowsProgressUntilTheAnswer) {
  UploadSettings(cx, st);
  ASSERT_EQ(http.urls.size(), 1u);
  const std::string& url = http.urls[0];
  EXPECT_TRUE(
      url.starts_with("http://127.0.0.1:1/settings?username=li%20lei&pw=p%26w%23&sjm_in=42&lx=2&zt=1&uesr_shizhi="
                      "%2Asz%2A110%2F120%2F"))
      << url;
  EXPECT_TRUE(Contains(url, "12345%4001.03")) << url;
  EXPECT_TRUE(Contains(url, "%2Asz%2A&a=")) << url;
  EXPECT_FALSE(cx.form.enabled(fmain::C_sz_zhongxin[3]));
  EXPECT_TRUE(cx.form.visible(fmain::Pic_jindu));
  EXPECT_EQ(cx.form.text(fmain::L_jindu_news), "系统正在上传数据");
  EXPECT_TRUE(prompter.notices.empty());

  // A second exchange is not started while the first is awaited.
  UploadSettings(cx, st);
  DownloadSettings(cx, st);
  EXPECT_EQ(http.urls.size(), 1u);

  ASSERT_TRUE(http.answer("*szok*"));
  ASSERT_EQ(prompter.notices.size(), 1u);
  EXPECT_EQ(prompter.notices[0].text, "数据上传服务器完毕");
  EXPECT_EQ(prompter.notices[0].title, "提示");
  EXPECT_TRUE(cx.form.enabled(fmain::C_sz_zhongxin[3]));
  EXPECT_FALSE(cx.form.visible(fmain::Pic_jindu));
  EXPECT_EQ(st.exchange, SettingsExchange::None);
}

// Without "*szok*" (a refusal, a timeout's empty answer, a record alone) each way says it failed.
TEST_F(Exchange, UnacknowledgedExchangesGiveTheirFailureNoticeAndLeaveTheControls) {
  for (const bool upload : {true, false})
    for (const char* answer : {"*ng*", "", "**ok**", "*szerr*", "*szno*", kDesignRecord}) {
      SCOPED_TRACE(std::string(upload ? "upload " : "download ") + answer);
      prompter.notices.clear();
      cx.form.setText(fmain::T_quxian_zhushu[0], "x");
      if (upload) UploadSettings(cx, st);
      else DownloadSettings(cx, st);
      ASSERT_TRUE(http.answer(answer));
      ASSERT_EQ(prompter.notices.size(), 1u);
      EXPECT_EQ(prompter.notices[0].text, upload
                                              ? "参数上传失败，服务器没有确认，请检查网络和账号后重试"
                                              : "参数下载失败，服务器没有返回数据，请检查网络和账号，或先上传一次参数");
      EXPECT_EQ(cx.form.text(fmain::T_quxian_zhushu[0]), "x");
      EXPECT_TRUE(cx.form.enabled(fmain::C_sz_zhongxin[upload ? 3 : 4]));
    }
}

TEST_F(Exchange, ValuesThatWouldBreakTheRecordAreNotSent) {
  cx.form.setText(fmain::T_moshier_input, "01*02=12");
  UploadSettings(cx, st);
  cx.form.setText(fmain::T_moshier_input, "01/02=12");
  UploadSettings(cx, st);
  EXPECT_TRUE(http.urls.empty());
  ASSERT_EQ(prompter.notices.size(), 2u);
  EXPECT_TRUE(Contains(prompter.notices[0].text, fmain::T_moshier_input.messageName())) << prompter.notices[0].text;
  EXPECT_TRUE(Contains(prompter.notices[1].text, "“/”"));
  EXPECT_TRUE(cx.form.enabled(fmain::C_sz_zhongxin[3]));
  EXPECT_EQ(st.exchange, SettingsExchange::None);
}

TEST_F(Exchange, DownloadAppliesTheRecordWithThreeLinesAndAnAt) {
  Form before = cx.form;
  for (int i = 0; i < 15; ++i) cx.form.setText(fmain::T_quxian_zhushu[i], "0");
  cx.form.setText(fmain::T_moshier_input, "");
  cx.form.setChecked(fmain::Ch_jiankong_jj[3], false);
  std::string record = ReplaceAll(kDesignRecord, "=12/01.02.03*", "=12@9=1/01.02.03*");
  record = ReplaceAll(record, "*1/1/1/1/1/1/1/1", "*1/1/1/1/1/0/1/1");
  download("*szok*\r\n" + record);
  EXPECT_TRUE(http.urls[0].ends_with("&lx=2&zt=2&&a=" + http.urls[0].substr(http.urls[0].rfind('=') + 1)));
  ASSERT_EQ(prompter.notices.size(), 1u);
  EXPECT_EQ(prompter.notices[0].text, "用户数据读取成功");
  for (int i = 0; i < 15; ++i)
    EXPECT_EQ(cx.form.text(fmain::T_quxian_zhushu[i]), before.text(fmain::T_quxian_zhushu[i]));
  // The "@" typed by the user comes back as a fourth line.
  EXPECT_EQ(cx.form.text(fmain::T_moshier_input), std::string(test::kDesignGroups) + "\r\n9=1");
  EXPECT_TRUE(cx.form.checked(fmain::Ch_jiankong_jj[3]));
  EXPECT_FALSE(cx.form.checked(fmain::Ch_jiankong_jj[5]));
  EXPECT_EQ(cx.form.text(fmain::T_jh_dadi_chongfu_cs), "18");
  EXPECT_EQ(cx.form.text(fmain::T_jiankong_rc), "01.02.03");
  EXPECT_FALSE(cx.form.visible(fmain::Pic_jindu));
  EXPECT_TRUE(cx.form.enabled(fmain::C_sz_zhongxin[4]));
}

TEST_F(Exchange, OlderRecordWithFewerFieldsSetsTheFirstControlsThenTellsTheFormat) {
  cx.form.setText(fmain::T_quxian_zhushu[0], "0");
  cx.form.setText(fmain::T_moshier_input_rc, "x");
  cx.form.setChecked(fmain::Ch_jiankong_jj[0], false);
  download("*szok**sz*200/120/130/140/150/160/170/180/190/200/210/220/230/240/250*18/08*01=1/05*sz*");
  ASSERT_EQ(prompter.notices.size(), 1u);
  EXPECT_TRUE(prompter.notices[0].text.starts_with("出错提示：\r\n数据获取成功，但是格式有错，最终失败\r\n"));
  EXPECT_TRUE(prompter.notices[0].text.ends_with("后续就不会出问题了。\r\n"));
  EXPECT_EQ(prompter.notices[0].title, "出错提示");
  EXPECT_EQ(cx.form.text(fmain::T_quxian_zhushu[0]), "200");
  EXPECT_EQ(cx.form.text(fmain::T_jh_dadi_chongfu_rc), "08");
  EXPECT_EQ(cx.form.text(fmain::T_moshier_input_rc), "05");
  EXPECT_FALSE(cx.form.checked(fmain::Ch_jiankong_jj[0]));  // the fourth field never came
  EXPECT_TRUE(cx.form.enabled(fmain::C_sz_zhongxin[4]));
}

TEST_F(Exchange, MalformedRecordsStopAtTheFault) {
  struct Case {
    const char* answer;
    const char* firstCount;  // T_quxian_zhushu_0 afterwards
  } cases[] = {
      {"*szok*", "x"},                               // no record at all
      {"*szok* *sz*1/2/3*18/08*a/b*1*01*sz*", "1"},  // too few counts: the first ones set
      {"*szok**sz*1/2/3/4/5/6/7/8/9/10/11/12/13/14/15*18/08*a/b*1/1/yes*01*sz*", "1"},  // not an integer
  };
  for (const Case& c : cases) {
    cx.form.setText(fmain::T_quxian_zhushu[0], "x");
    prompter.notices.clear();
    download(c.answer);
    ASSERT_EQ(prompter.notices.size(), 1u);
    EXPECT_EQ(prompter.notices[0].title, "出错提示") << c.answer;
    EXPECT_EQ(cx.form.text(fmain::T_quxian_zhushu[0]), c.firstCount) << c.answer;
  }
}

TEST(SettingsCentre, SlideBlinkAndButtons) {
  Context cx;
  SettingsState st;
  RecordingPrompter prompter;
  cx.ports.prompter = &prompter;
  // Closing a closed panel only hides the statistics frame.
  cx.form.setVisible(fmain::Frame_canshu[0], true);
  EXPECT_FALSE(SlidePanel(cx, st, false));
  EXPECT_FALSE(cx.form.visible(fmain::Frame_canshu[0]));
  SettingsCentreClick(cx, st, 0);
  EXPECT_TRUE(st.panelOpen);
  EXPECT_FALSE(SlidePanel(cx, st, true));  // already open: returns at once
  SettingsCentreClick(cx, st, 1);
  EXPECT_TRUE(cx.form.visible(fmain::Frame_canshu[0]));
  EXPECT_TRUE(SlidePanel(cx, st, false));
  EXPECT_FALSE(st.panelOpen);
  EXPECT_FALSE(cx.form.visible(fmain::Frame_canshu[0]));

  for (int i : {2, 5, 6, 7}) SettingsCentreClick(cx, st, i);
  ASSERT_EQ(prompter.notices.size(), 4u);
  for (const Notice& n : prompter.notices) {
    EXPECT_EQ(n.text, "未开放该功能");
    EXPECT_EQ(n.title, "温情提示");
  }

  // The blink starts from whatever colour the first button has and moves both together.
  cx.form.setBackColor(fmain::C_sz_zhongxin[0], kBlinkYellow);
  BlinkSettingsCentre(cx);
  EXPECT_EQ(cx.form.backColor(fmain::C_sz_zhongxin[0]), kGreen);
  EXPECT_EQ(cx.form.backColor(fmain::C_k_yulan_shou), kGreen);
  BlinkSettingsCentre(cx);
  EXPECT_EQ(cx.form.backColor(fmain::C_sz_zhongxin[0]), Rgb(255, 255, 192));
  EXPECT_EQ(cx.form.backColor(fmain::C_k_yulan_shou), Rgb(255, 255, 192));
  cx.form.setBackColor(fmain::C_sz_zhongxin[0], kRed);
  BlinkSettingsCentre(cx);
  EXPECT_EQ(cx.form.backColor(fmain::C_k_yulan_shou), kBlinkYellow);
}

}  // namespace
}  // namespace lumora
