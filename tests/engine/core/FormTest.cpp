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

  // Boxes read through the lenient readers (TextTest has their rules), the raw text kept as typed.
  const IntBox box = fmain::T_quxian_zhushu[3];
  f.setText(box, " 3.5abc");
  EXPECT_EQ(f.value(box), 4);
  EXPECT_EQ(f.text(box), " 3.5abc");
  f.setText(fmain::T_duoqi, " 3.5abc");
  EXPECT_EQ(f.value(fmain::T_duoqi), 3.5);

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
  f.userSetSelectedIndex(list, 7);  // a selection past the items is no selection
  EXPECT_EQ(f.selectedIndex(list), -1);
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

// Every catalogued name is found (the next case); these are the names that must not be.
TEST(ControlHandles, FindControlFindsCataloguedNamesOnly) {
  for (const char* bad : {"T_quxian_zhushu_15", "T_quxian_zhushu_-1", "T_quxian_zhushu_03", "T_quxian_zhushu_00",
                          "T_quxian_zhushu_+3", "T_quxian_zhushu_3x", "T_quxian_zhushu_ 3", "T_quxian_zhushu_",
                          "T_quxian_zhushu", "T_quxian_zhushu_99999999999", "Fk.Pic_k_2", "Fk.Pic_k_6",
                          // another window's controls carry its prefix, and only with it
                          "T_total_renshu", "Fadd.Tkjh", "Ftool.C_all_28", "C_all_3", "Fbj.Timer_gx",
                          "fadd.T_total_renshu", "Fadd.", "", "tkjh", "Fnothing"})
    EXPECT_FALSE(FindControl(bad)) << bad;
  // A window by its own name.
  auto bj = FindControl("Fbj");
  ASSERT_TRUE(bj);
  EXPECT_EQ(bj->ref, fbj::window);
  EXPECT_EQ(bj->entry, nullptr);
}

TEST(ControlHandles, EveryCataloguedNameIsFoundAsTheControlItNames) {
  int names = 0;
  for (const WindowCatalogue& w : ControlCatalogues()) {
    auto window = FindControl(w.window);
    ASSERT_TRUE(window) << w.window;
    EXPECT_EQ(window->kind, ControlKind::Window);
    EXPECT_EQ(window->ref.name(), w.window);
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
