// The Form through its typed handles: values read the way a control's kind says, changes the
// engine makes are reported once and a user's edits not at all, list selections stay inside
// their items, and a control named as text at run time is found only when a catalogue holds it.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

#include "core/ControlNames.h"
#include "core/Form.h"
#include "core/controls/Fadd.h"
#include "core/controls/Fbj.h"
#include "core/controls/Ffenxi.h"
#include "core/controls/Fk.h"
#include "core/controls/Fmain.h"
#include "core/controls/Ftishi.h"
#include "core/controls/Ftool.h"

namespace lumora {
namespace {

TEST(FormValues, BoxesReadTheirTextLenientlyAndWriteNumbersAsPlainText) {
  Form f;
  // Never written: 0, unchecked.
  EXPECT_EQ(f.value(fmain::T_jihua_jj_dadi_zhushu), 0);
  EXPECT_EQ(f.value(fmain::T_duoqi), 0.0);
  EXPECT_FALSE(f.value(fmain::Check_bd));

  // An integer box: the leading number, halves to even, 0 without one, clamped to 32 bits.
  const IntBox box = fmain::T_quxian_zhushu[3];
  const struct {
    const char* text;
    int32_t value;
  } ints[] = {{" 12abc", 12}, {"3.5", 4}, {"2.5", 2}, {"-2.5", -2}, {"", 0}, {"abc", 0}, {"99999999999", 2147483647}};
  for (const auto& c : ints) {
    f.setText(box, c.text);
    EXPECT_EQ(f.value(box), c.value) << '"' << c.text << '"';
    EXPECT_EQ(f.text(box), c.text);  // the raw text stays as typed
  }

  // A number box: the leading decimal number as it stands.
  const struct {
    const char* text;
    double value;
  } numbers[] = {{" 12abc", 12}, {"3.5", 3.5}, {"-2.5", -2.5}, {"", 0}, {"1e3x", 1000}, {".", 0}};
  for (const auto& c : numbers) {
    f.setText(fmain::T_duoqi, c.text);
    EXPECT_EQ(f.value(fmain::T_duoqi), c.value) << '"' << c.text << '"';
  }

  f.set(box, 42);
  EXPECT_EQ(f.text(box), "42");
  f.set(box, -7);
  EXPECT_EQ(f.text(box), "-7");
  f.set(box, 5'000'000'000);  // written in full, read back clamped
  EXPECT_EQ(f.text(box), "5000000000");
  EXPECT_EQ(f.value(box), 2147483647);
  f.set(fmain::T_duoqi, 0.1 + 0.2);
  EXPECT_EQ(f.text(fmain::T_duoqi), "0.3");
  f.set(fmain::T_duoqi, -3.0);
  EXPECT_EQ(f.text(fmain::T_duoqi), "-3");
  f.set(fmain::T_duoqi, 12.5);
  EXPECT_EQ(f.value(fmain::T_duoqi), 12.5);

  f.set(fmain::Check_bd, true);
  EXPECT_TRUE(f.value(fmain::Check_bd));
  EXPECT_TRUE(f.checked(fmain::Check_bd));
  f.userSetChecked(fmain::Check_bd, false);
  EXPECT_FALSE(f.value(fmain::Check_bd));

  // Elements of one array, and one name in two windows, are separate controls.
  f.set(fmain::T_quxian_zhushu[4], 9);
  EXPECT_EQ(f.value(fmain::T_quxian_zhushu[3]), 2147483647);
  EXPECT_EQ(f.value(fmain::T_quxian_zhushu[4]), 9);
  f.setTimer(fbj::Timer1, true, 500);
  EXPECT_TRUE(f.timer(fbj::Timer1).enabled);
  EXPECT_EQ(f.timer(fbj::Timer1).intervalMs, 500);
  EXPECT_FALSE(f.timer(ftishi::Timer1).enabled);
  EXPECT_FALSE(f.holds(ftishi::Timer1));
}

TEST(FormValues, AnOptionGroupIsTheIndexOfItsCheckedButton) {
  Form f;
  EXPECT_EQ(f.option(fmain::Op_mos), -1);
  f.setOption(fmain::Op_mos, 2);
  EXPECT_EQ(f.option(fmain::Op_mos), 2);
  EXPECT_TRUE(f.value(fmain::Op_mos[2]));
  f.setOption(fmain::Op_mos, 0);  // checking one unchecks the others
  EXPECT_EQ(f.option(fmain::Op_mos), 0);
  EXPECT_FALSE(f.checked(fmain::Op_mos[2]));
  EXPECT_EQ(f.option(fmain::Op_3x_moshi), -1);  // another group is untouched
  f.userSetChecked(fmain::Op_mos[1], true);     // a user's click arrives one button at a time
  f.userSetChecked(fmain::Op_mos[0], false);
  EXPECT_EQ(f.option(fmain::Op_mos), 1);
  f.setOption(fmain::Op_mos, -1);  // none
  EXPECT_EQ(f.option(fmain::Op_mos), -1);
  for (int i = 0; i <= 2; ++i) EXPECT_FALSE(f.checked(fmain::Op_mos[i])) << i;
  f.setOption(fmain::Op_mos, 3);  // past the group: none either
  EXPECT_EQ(f.option(fmain::Op_mos), -1);

  // A group whose buttons start past 0 answers with the button's own index.
  constexpr OptionGroup from3{"Op_test", 3, 5};
  EXPECT_EQ(f.option(from3), -1);
  f.setOption(from3, 4);
  EXPECT_EQ(f.option(from3), 4);
  f.setOption(from3, 0);
  EXPECT_EQ(f.option(from3), -1);
}

TEST(FormChanges, TheEnginesChangesAreReportedOnceAndAUsersEditsNot) {
  Form f;
  EXPECT_TRUE(f.takeChanged().empty());
  f.setText(fmain::Tkjh, "1 2 3");
  f.set(fmain::T_quxian_zhushu[3], 12);
  f.set(fmain::Check_bd, true);
  f.setEnabled(fadd::C_rulu_kjh, false);
  EXPECT_EQ(f.takeChanged(),
            (std::set<ControlRef>{fmain::Tkjh, fmain::T_quxian_zhushu[3], fmain::Check_bd, fadd::C_rulu_kjh}));
  EXPECT_TRUE(f.takeChanged().empty());  // taken once

  // Writing what is already there changes nothing; the same number in other text does.
  f.setText(fmain::Tkjh, "1 2 3");
  f.set(fmain::T_quxian_zhushu[3], 12);
  f.set(fmain::Check_bd, true);
  f.setEnabled(fadd::C_rulu_kjh, false);
  EXPECT_TRUE(f.takeChanged().empty());
  f.userSetText(fmain::T_quxian_zhushu[3], "012");
  EXPECT_TRUE(f.takeChanged().empty());  // the user's edit is the widget's already
  EXPECT_EQ(f.value(fmain::T_quxian_zhushu[3]), 12);
  f.set(fmain::T_quxian_zhushu[3], 12);
  EXPECT_EQ(f.takeChanged(), std::set<ControlRef>{fmain::T_quxian_zhushu[3]});
  EXPECT_EQ(f.text(fmain::T_quxian_zhushu[3]), "12");

  f.userSetChecked(fmain::Check_bd, false);
  f.userSetVisible(fmain::Tkjh, false);
  f.userSetText(fmain::Tkjh, "4 5");
  EXPECT_TRUE(f.takeChanged().empty());
  EXPECT_FALSE(f.visible(fmain::Tkjh));
  f.set(fmain::Check_bd, true);  // back to what the engine wrote before: a change, as the widget differs
  EXPECT_EQ(f.takeChanged(), std::set<ControlRef>{fmain::Check_bd});

  // An option group reports the buttons that flipped, no others.
  f.setOption(fmain::Op_mos, 1);
  EXPECT_EQ(f.takeChanged(), std::set<ControlRef>{fmain::Op_mos[1]});
  f.setOption(fmain::Op_mos, 2);
  EXPECT_EQ(f.takeChanged(), (std::set<ControlRef>{fmain::Op_mos[1], fmain::Op_mos[2]}));

  // Pictures, timers and touch() always report: the shell repaints or restarts.
  f.editScene(fmain::Pic_jiangkong);
  f.setTimer(fbj::Timer_bj, false, 0);
  f.touch(ftool::C_all[27]);
  EXPECT_EQ(f.takeChanged(), (std::set<ControlRef>{fmain::Pic_jiangkong, fbj::Timer_bj, ftool::C_all[27]}));
}

TEST(FormLists, ItemsAndSelectionsStayWithinTheItems) {
  Form f;
  const ListBox list = fmain::List_touzhu;
  EXPECT_TRUE(f.items(list).empty());
  EXPECT_EQ(f.selectedIndex(list), -1);
  f.setSelectedIndex(list, 0);  // nothing to select
  EXPECT_EQ(f.selectedIndex(list), -1);

  f.setItems(list, {"a", "b", "c"});
  f.setSelectedIndex(list, 2);
  EXPECT_EQ(f.selectedIndex(list), 2);
  f.setSelectedIndex(list, 3);  // past the end: no selection
  EXPECT_EQ(f.selectedIndex(list), -1);
  f.setSelectedIndex(list, 1);
  f.setSelectedIndex(list, -2);
  EXPECT_EQ(f.selectedIndex(list), -1);

  f.setSelectedIndex(list, 2);
  f.setItems(list, {"x", "y", "z", "w"});  // the selection survives while in range
  EXPECT_EQ(f.selectedIndex(list), 2);
  f.setItems(list, {"x", "y"});  // and is dropped when its item went
  EXPECT_EQ(f.selectedIndex(list), -1);
  f.addItem(list, "z");
  EXPECT_EQ(f.items(list), (std::vector<std::string>{"x", "y", "z"}));

  // Multi-select flags: per item, false past the end, a write past the end ignored.
  f.setItemSelected(list, 2, true);
  f.setItemSelected(list, 3, true);
  f.setItemSelected(list, -1, true);
  EXPECT_TRUE(f.itemSelected(list, 2));
  EXPECT_FALSE(f.itemSelected(list, 0));
  EXPECT_FALSE(f.itemSelected(list, 3));
  EXPECT_FALSE(f.itemSelected(list, -1));
  f.userSetItemSelected(list, 0, true);
  f.userSetItemSelected(list, 9, true);
  EXPECT_TRUE(f.itemSelected(list, 0));
  f.setItems(list, {"p", "q", "r"});  // new items start unselected
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(f.itemSelected(list, i)) << i;

  // Changes: a selection the engine moves is reported, the user's is not.
  f.takeChanged();
  f.userSetSelectedIndex(list, 1);
  EXPECT_TRUE(f.takeChanged().empty());
  EXPECT_EQ(f.selectedIndex(list), 1);
  f.setSelectedIndex(list, 1);
  EXPECT_TRUE(f.takeChanged().empty());
  f.setSelectedIndex(list, 0);
  EXPECT_EQ(f.takeChanged(), std::set<ControlRef>{list});
  f.setItems(fk::List_fangan, {});  // new items are reported even when there are none
  EXPECT_EQ(f.takeChanged(), std::set<ControlRef>{fk::List_fangan});
  EXPECT_FALSE(f.holds(fmain::List01));
}

TEST(ControlHandles, ArraysNameTheirElementsAndRefuseOthers) {
  EXPECT_EQ(fmain::T_quxian_zhushu.count(), 15);
  EXPECT_TRUE(fmain::T_quxian_zhushu.holds(0));
  EXPECT_TRUE(fmain::T_quxian_zhushu.holds(14));
  EXPECT_FALSE(fmain::T_quxian_zhushu.holds(15));
  EXPECT_THROW(fmain::T_quxian_zhushu[15], std::out_of_range);
  EXPECT_THROW(fmain::T_quxian_zhushu[-1], std::out_of_range);
  EXPECT_THROW(fk::Pic_k[2], std::out_of_range);  // starts at 3
  EXPECT_EQ(fk::Pic_k.count(), 3);
  EXPECT_EQ(fk::Pic_k[5].name(), "Fk.Pic_k_5");

  EXPECT_EQ(fmain::Tkjh.name(), "Tkjh");
  EXPECT_EQ(fmain::T_quxian_zhushu[3].name(), "T_quxian_zhushu_3");
  EXPECT_EQ(fadd::T_total_renshu.name(), "Fadd.T_total_renshu");
  EXPECT_EQ(fadd::T_total_renshu.widgetName(), "T_total_renshu");
  EXPECT_EQ(ftool::C_all[27].widgetName(), "C_all_27");
  EXPECT_NE(ControlRef(fmain::C_copy_1), ControlRef(fmain::C_copy));
  EXPECT_NE(ControlRef(fbj::Timer1), ControlRef(ftishi::Timer1));
}

TEST(ControlHandles, FindControlFindsCataloguedNamesOnly) {
  // A single control.
  auto tkjh = FindControl("Tkjh");
  ASSERT_TRUE(tkjh);
  EXPECT_EQ(tkjh->ref, fmain::Tkjh);
  EXPECT_EQ(tkjh->kind, ControlKind::TextBox);
  ASSERT_NE(tkjh->entry, nullptr);
  EXPECT_STREQ(tkjh->entry->name, "Tkjh");
  auto box = FindControl("T_jihua_jj_dadi_zhushu");
  ASSERT_TRUE(box);
  EXPECT_EQ(box->kind, ControlKind::IntBox);
  // A single control whose name ends in a number is itself, not an element of another.
  auto copy1 = FindControl("C_copy_1");
  ASSERT_TRUE(copy1);
  EXPECT_EQ(copy1->ref, fmain::C_copy_1);
  EXPECT_EQ(copy1->ref.index, -1);

  // Elements of an array, within its range only.
  for (int i : {0, 3, 14}) {
    auto e = FindControl("T_quxian_zhushu_" + std::to_string(i));
    ASSERT_TRUE(e) << i;
    EXPECT_EQ(e->ref, fmain::T_quxian_zhushu[i]);
    EXPECT_EQ(e->kind, ControlKind::IntBox);
    ASSERT_NE(e->entry, nullptr);
    EXPECT_TRUE(e->entry->isArray());
  }
  auto pic = FindControl("Fk.Pic_k_3");
  ASSERT_TRUE(pic);
  EXPECT_EQ(pic->ref, fk::Pic_k[3]);
  EXPECT_EQ(pic->kind, ControlKind::Picture);
  for (const char* bad : {"T_quxian_zhushu_15", "T_quxian_zhushu_-1", "T_quxian_zhushu_03", "T_quxian_zhushu_00",
                          "T_quxian_zhushu_+3", "T_quxian_zhushu_3x", "T_quxian_zhushu_ 3", "T_quxian_zhushu_",
                          "T_quxian_zhushu", "T_quxian_zhushu_99999999999", "Fk.Pic_k_2", "Fk.Pic_k_6"})
    EXPECT_FALSE(FindControl(bad)) << bad;

  // Another window's controls carry its prefix, and only with it.
  auto total = FindControl("Fadd.T_total_renshu");
  ASSERT_TRUE(total);
  EXPECT_EQ(total->ref, fadd::T_total_renshu);
  auto all = FindControl("Ftool.C_all_27");
  ASSERT_TRUE(all);
  EXPECT_EQ(all->ref, ftool::C_all[27]);
  EXPECT_EQ(all->kind, ControlKind::Button);
  for (const char* bad : {"T_total_renshu", "Fadd.Tkjh", "Ftool.C_all_28", "C_all_3", "Fbj.Timer_gx",
                          "fadd.T_total_renshu", "Fadd.", "", "tkjh"})
    EXPECT_FALSE(FindControl(bad)) << bad;

  // A window by its own name.
  auto bj = FindControl("Fbj");
  ASSERT_TRUE(bj);
  EXPECT_EQ(bj->ref, fbj::window);
  EXPECT_EQ(bj->kind, ControlKind::Window);
  EXPECT_EQ(bj->entry, nullptr);
  auto fenxi = FindControl("Ffenxi");
  ASSERT_TRUE(fenxi);
  EXPECT_EQ(fenxi->ref, ffenxi::window);
  EXPECT_FALSE(FindControl("Fnothing"));
}

TEST(ControlHandles, EveryCataloguedNameIsFoundAsTheControlItNames) {
  int names = 0;
  for (const WindowCatalogue& w : ControlCatalogues()) {
    auto window = FindControl(w.window);
    ASSERT_TRUE(window) << w.window;
    EXPECT_EQ(window->kind, ControlKind::Window);
    for (const ControlEntry& e : w.controls) {
      const int first = e.isArray() ? e.first : -1;
      const int last = e.isArray() ? e.last : -1;
      for (int i = first; i <= last; ++i, ++names) {
        const ControlRef ref{e.key, i};
        auto found = FindControl(ref.name());
        ASSERT_TRUE(found) << ref.name();
        EXPECT_EQ(found->ref, ref);
        EXPECT_EQ(found->kind, e.kind) << ref.name();
        EXPECT_EQ(found->entry, &e) << ref.name();
        EXPECT_EQ(std::string(w.prefix) + ref.widgetName(), ref.name());
        EXPECT_EQ(FindEntry(e.key), &e);
      }
    }
  }
  EXPECT_GT(names, 500);
}

}  // namespace
}  // namespace lumora
