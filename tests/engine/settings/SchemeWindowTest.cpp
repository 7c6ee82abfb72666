#include <gtest/gtest.h>

#include <fstream>

#include "SchemeSupport.h"
#include "core/Files.h"
#include "core/TextCodec.h"
#include "core/controls/Fk.h"
#include "core/controls/Fmain.h"
#include "settings/SchemeFile.h"
#include "settings/Schemes.h"
#include "settings/SettingsCentre.h"
#include "settings/SettingsTexts.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

struct SchemeWindow : ::testing::Test, test::DataFolderContext {
  fs::path fa() const { return folder.path() / "fa"; }
  void save(const std::string& name) {
    cx.form.setText(fk::T_fangan_name, name);
    SaveScheme(cx);
  }
  void select(const std::string& item) {
    const auto& items = cx.form.items(fk::List_fangan);
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i] == item) cx.form.setSelectedIndex(fk::List_fangan, static_cast<int>(i));
  }
  void write(const std::string& name, const std::string& text) { std::ofstream(fa() / name, std::ios::binary) << text; }
  // Writes `text` as the scheme file `name`, lists the folder and loads it.
  void load(const std::string& name, const std::string& text) {
    write(name, text);
    RefreshSchemeList(cx);
    select(name);
    LoadScheme(cx);
  }
  std::string lastTitle() const { return prompter.notices.empty() ? "" : prompter.notices.back().title; }
};

TEST_F(SchemeWindow, SaveResetAndLoadRestoresEveryValue) {
  cx.form.setText(fmain::T_quxian_zhushu[4], "333");
  cx.form.setText(fmain::T_xl_muduan[2], "10");
  cx.form.setChecked(fmain::Check_xl_md[7], true);
  cx.form.setChecked(fmain::Ch_jiankong_jj[3], false);
  cx.form.setText(fmain::T_jh_dadi_chongfu_rc, "05.06");
  save("  800+[1] ");
  EXPECT_EQ(prompter.lastText(), "保存完成");
  EXPECT_EQ(lastTitle(), "成功");
  ASSERT_EQ(cx.form.items(fk::List_fangan), std::vector<std::string>{"800+[1].fa"});
  // The file is the scheme text as built, ending with the last section's CR LF.
  EXPECT_EQ(ReadWholeFileBytes(fa() / "800+[1].fa").value_or(""), BuildSchemeText(cx.form).text);
  EXPECT_TRUE(BuildSchemeText(cx.form).text.ends_with("*end*\r\n"));

  const Form saved = cx.form;
  test::SetDesignValues(cx.form);
  cx.form.setText(fmain::T_moshier_input, "x");
  cx.form.setText(fmain::T_jiankong_rc, "05");
  select("800+[1].fa");
  LoadScheme(cx);
  EXPECT_EQ(prompter.lastText(), "参数读入成功");
  for (int i = 0; i < 15; ++i) {
    EXPECT_EQ(cx.form.text(fmain::T_quxian_zhushu[i]), saved.text(fmain::T_quxian_zhushu[i]));
    EXPECT_EQ(cx.form.text(fmain::T_xl_muduan[i]), i == 2 ? "10" : "1111111111");
    EXPECT_EQ(cx.form.checked(fmain::Check_xl_md[i]), i == 7);
    EXPECT_EQ(cx.form.checked(fmain::Ch_jiankong_jj[i]), i != 3);
  }
  EXPECT_EQ(cx.form.text(fmain::T_jh_dadi_chongfu_rc), "05.06");
  EXPECT_EQ(cx.form.text(fmain::T_moshier_input), test::kDesignGroups);
  EXPECT_EQ(cx.form.text(fmain::T_jiankong_rc), "01.02.03");
  EXPECT_TRUE(cx.form.checked(fmain::Check_jh_dadi_chongfu));
  EXPECT_FALSE(cx.form.checked(fmain::Check_jh_dadi_fenzu));
  EXPECT_EQ(cx.form.text(fmain::T_jiankong_15di_geshu), "14");  // the selections' own reactions ran
  EXPECT_EQ(cx.form.text(fmain::L_xl_zhushu[4]), "333");
}

TEST_F(SchemeWindow, NamesThatLeaveTheFolderAreReservedOrReorderTheirTextAreRefused) {
  // Paths and characters no file name holds; device names in any case, with an extension, blanks
  // or dots after them, superscript digits, the console devices; characters that turn the text.
  for (const char* name :
       {"../x",      "a/b",      "..\\x",   "a:b",      "a*b",      "CON",         "nul.txt",   "x.",
        "tab\there", "CON .x",   "con",     "Prn.txt",  "aux. .fa", "NUL ",        "COM0",      "com9.x",
        "LPT0",      "COM¹",     "LPT²",    "com³.abc", "CONIN$",   "conout$.txt", "CONIN$ .x", "方案\u202Eaf.exe",
        "a\u202Ab",  "a\u2066b", "a\u2069", "\u200Ex",  "x\u200F",  "x\u061Cy"}) {
    prompter.notices.clear();
    save(name);
    ASSERT_EQ(prompter.notices.size(), 1u) << name;
    EXPECT_EQ(prompter.notices[0].text, "保存过程发生错误，请检查") << name;
    EXPECT_EQ(prompter.notices[0].title, "错误");
  }
  EXPECT_FALSE(fs::exists(folder.path() / "x.fa"));
  EXPECT_TRUE(fs::is_empty(fa()));
  prompter.notices.clear();
  save("   ");  // an empty name does nothing at all
  EXPECT_TRUE(prompter.notices.empty());
  // Names that only look like devices, and ".." inside a name, are ordinary names.
  for (const char* name : {"CONSOLE", "COM10", "LPT", "COMX", "COM⁴", "xCON", "CON-1", "NULL.x", "CONIN", "a\u2011b"}) {
    save(name);
    EXPECT_EQ(prompter.lastText(), "保存完成") << name;
  }
  fs::remove_all(fa());
  save("方案..一");  // the folder made again; the name in the data folder's form, listed as typed
  EXPECT_EQ(prompter.lastText(), "保存完成");
  EXPECT_TRUE(fs::exists(fa() / FileNamePath("方案..一.fa")));
  EXPECT_EQ(cx.form.items(fk::List_fangan), std::vector<std::string>{"方案..一.fa"});
}

TEST_F(SchemeWindow, ValueThatWouldBreakTheFileIsRefusedAndNothingIsWritten) {
  cx.form.setText(fmain::T_xl_muduan[3], "11/11");
  save("bad");
  ASSERT_EQ(prompter.notices.size(), 1u);
  EXPECT_TRUE(Contains(prompter.notices[0].text, fmain::T_xl_muduan[3].messageName()));
  EXPECT_FALSE(fs::exists(fa() / "bad.fa"));
}

TEST_F(SchemeWindow, DamagedModeTwoSectionKeepsTheEarlierSections) {
  cx.form.setText(fmain::T_quxian_zhushu[0], "500");
  cx.form.setText(fmain::T_jiankong_rc, "07");
  std::string text = BuildSchemeText(cx.form).text;
  size_t at = text.find("*ms2*");
  text = text.substr(0, at) + "*ms2**end*\r\n" + text.substr(text.find("*15xl*"));
  test::SetDesignValues(cx.form);
  load("broken.fa", text);
  EXPECT_EQ(prompter.lastText(), "在读取参数配置过程中，发现错误\r\n请确认文件是否丢失或者损坏");
  EXPECT_EQ(lastTitle(), "错误");
  EXPECT_EQ(cx.form.text(fmain::T_quxian_zhushu[0]), "500");  // set before the fault
  EXPECT_EQ(cx.form.text(fmain::T_jiankong_rc), "07");
}

TEST_F(SchemeWindow, SlashInAMaskShiftsTheLaterValues) {
  std::string text = BuildSchemeText(cx.form).text;
  text.replace(text.find("*15md*1111111111/"), 17, "*15md*11/11/");
  load("shift.fa", text);
  EXPECT_EQ(prompter.lastText(), "参数读入成功");
  EXPECT_EQ(cx.form.text(fmain::T_xl_muduan[0]), "11");
  EXPECT_EQ(cx.form.text(fmain::T_xl_muduan[1]), "11");
  EXPECT_EQ(cx.form.text(fmain::T_xl_muduan[2]), "1111111111");
}

TEST_F(SchemeWindow, GbkAndLfFilesLoad) {
  std::string text = ReplaceAll(BuildSchemeText(cx.form).text, "\r\n", "\n");
  text = ReplaceAll(text, "=12345", "=12345中");
  cx.form.setText(fmain::T_moshier_input, "");
  load("lf.fa", ToGbk(text));
  EXPECT_EQ(prompter.lastText(), "参数读入成功");
  EXPECT_EQ(SplitCrLf(cx.form.text(fmain::T_moshier_input)).size(), 3u);
  EXPECT_TRUE(Contains(cx.form.text(fmain::T_moshier_input), "=12345中\r\n"));
}

TEST_F(SchemeWindow, ListShowsEveryEntryWithDotFaAnywhere) {
  write("a.fa.bak", BuildSchemeText(cx.form).text);
  write("b.FA", "x");
  write("c.txt", "x");
  fs::create_directory(fa() / "dir.fa");
  RefreshSchemeList(cx);
  EXPECT_EQ(cx.form.items(fk::List_fangan), (std::vector<std::string>{"a.fa.bak", "dir.fa"}));
  select("a.fa.bak");
  LoadScheme(cx);
  EXPECT_EQ(prompter.lastText(), "参数读入成功");
  DeleteSelectedScheme(cx);
  EXPECT_FALSE(fs::exists(fa() / "a.fa.bak"));
  EXPECT_EQ(cx.form.items(fk::List_fangan), std::vector<std::string>{"dir.fa"});
  // A folder is listed but not deleted; a failed delete says nothing.
  size_t notices = prompter.notices.size();
  select("dir.fa");
  DeleteSelectedScheme(cx);
  EXPECT_TRUE(fs::exists(fa() / "dir.fa"));
  EXPECT_EQ(prompter.notices.size(), notices);
}

TEST_F(SchemeWindow, NothingSelectedAndMissingFile) {
  RefreshSchemeList(cx);
  LoadScheme(cx);
  EXPECT_EQ(prompter.lastText(), "请选择一个方案");
  DeleteSelectedScheme(cx);
  EXPECT_EQ(prompter.lastText(), "请选择一个方案");
  EXPECT_EQ(lastTitle(), "提示");

  save("gone");
  select("gone.fa");
  fs::remove(fa() / "gone.fa");
  cx.form.setText(fmain::T_jiankong_rc, "unchanged");
  LoadScheme(cx);
  EXPECT_TRUE(prompter.lastText().ends_with("gone.fa文件丢失,请检查"));
  EXPECT_EQ(cx.form.text(fmain::T_jiankong_rc), "unchanged");
  EXPECT_FALSE(ReadWholeFile(cx, fa() / "none.fa"));
}

TEST_F(SchemeWindow, EmojiNameListsLoadsSavesAndDeletesAsTyped) {
  cx.form.setText(fmain::T_jiankong_rc, "01.02.03");
  save("方案😀");
  EXPECT_EQ(prompter.lastText(), "保存完成");
  ASSERT_EQ(cx.form.items(fk::List_fangan), std::vector<std::string>{"方案😀.fa"});
  ASSERT_TRUE(fs::exists(fa() / FileNamePath("方案😀.fa")));
  cx.form.setText(fmain::T_jiankong_rc, "05");
  select("方案😀.fa");
  LoadScheme(cx);
  EXPECT_EQ(prompter.lastText(), "参数读入成功");
  EXPECT_EQ(cx.form.text(fmain::T_jiankong_rc), "01.02.03");
  // Saved again under the same name: the same file, still one.
  save("方案😀");
  EXPECT_EQ(cx.form.items(fk::List_fangan), std::vector<std::string>{"方案😀.fa"});
  EXPECT_EQ(std::distance(fs::directory_iterator(fa()), fs::directory_iterator()), 1);
  select("方案😀.fa");
  DeleteSelectedScheme(cx);
  EXPECT_TRUE(cx.form.items(fk::List_fangan).empty());
  EXPECT_TRUE(fs::is_empty(fa()));
}

TEST_F(SchemeWindow, NameAFileNameWouldListOtherwiseIsRefusedNamingTheBox) {
#ifdef _WIN32
  GTEST_SKIP() << "file names are UTF-16 on Windows: every name reads back";
#endif
  // U+E78D has no GB18030 code (it would be saved as "?.fa", its message names it); GBK bytes
  // that begin as a byte-order mark would list as "A1.fa".
  const std::string pua = "\xEE\x9E\x8D";
  for (const std::string& name : {"方案" + pua, FromGbk("\xEF\xBB\xBF\x41") + "1"}) {
    prompter.notices.clear();
    save(name);
    ASSERT_EQ(prompter.notices.size(), 1u);
    EXPECT_TRUE(prompter.notices[0].text.starts_with("方案没有保存：" + fk::T_fangan_name.widgetName() + " "))
        << prompter.notices[0].text;
    EXPECT_EQ(Contains(prompter.notices[0].text, "“" + pua + "”"), Contains(name, pua));
    EXPECT_EQ(prompter.notices[0].title, "错误");
    EXPECT_TRUE(fs::is_empty(fa()));
  }
  // A file another program named in UTF-8 lists under such a name: saving over it is fine.
  write("方案" + pua + ".fa", "old");
  save("方案" + pua);
  EXPECT_EQ(prompter.lastText(), "保存完成");
  EXPECT_EQ(ReadWholeFileBytes(fa() / ("方案" + pua + ".fa")).value_or(""),
            EncodeDataText(BuildSchemeText(cx.form).text));
}

TEST_F(SchemeWindow, BoxTextGbkCannotHoldIsSavedAsUtf8AndLoadsBack) {
  // An emoji and a character GB18030 has no code for (GBK gave "?" for it).
  const std::string groups = "01.02=12345😀\r\n03.04=1234\xEE\x9E\x8D";
  cx.form.setText(fmain::T_moshier_input, groups);
  save("表情");
  EXPECT_EQ(prompter.lastText(), "保存完成");
  const std::string bytes = ReadWholeFileBytes(fa() / FileNamePath("表情.fa")).value_or("");
  EXPECT_EQ(bytes, "\xEF\xBB\xBF" + BuildSchemeText(cx.form).text);
  cx.form.setText(fmain::T_moshier_input, "");
  select("表情.fa");
  LoadScheme(cx);
  EXPECT_EQ(prompter.lastText(), "参数读入成功");
  EXPECT_EQ(cx.form.text(fmain::T_moshier_input), groups);
  // Once the text fits GBK again, the file is GBK again.
  cx.form.setText(fmain::T_moshier_input, "01.02=12345中");
  save("表情");
  EXPECT_EQ(ReadWholeFileBytes(fa() / FileNamePath("表情.fa")).value_or(""), ToGbk(BuildSchemeText(cx.form).text));
}

TEST_F(SchemeWindow, WideningRefreshesTheListCollapsingKeepsIt) {
  SettingsState st;
  write("late.fa", "x");
  EXPECT_TRUE(cx.form.items(fk::List_fangan).empty());
  WidenSideWindow(cx, st);
  EXPECT_EQ(st.sideWindowTwips, 3780);
  EXPECT_EQ(cx.form.items(fk::List_fangan), std::vector<std::string>{"late.fa"});
  CollapseSideWindow(st);
  EXPECT_EQ(st.sideWindowTwips, 1);
  EXPECT_EQ(cx.form.items(fk::List_fangan).size(), 1u);
}

}  // namespace
}  // namespace lumora
