#pragma once
// Builders of the main window's parts and of the other windows. Each creates its widgets with
// their design names (objectName) and design texts, and connects them to engine operations
// through the Shell. The main window binds everything after all builders ran.
class QWidget;

namespace lumora {

class Shell;

// Main window, outside the pages: history box, status, countdown, update buttons, sub-game
// options, deletion and manual entry, the bet log (MainControls.cpp).
void BuildMainControls(Shell& shell, QWidget* area);

void BuildDrawingPage(Shell& shell, QWidget* page);  // Frame_ding_1 "画线界面" (DrawingPage.cpp)
void BuildPlanPage(Shell& shell, QWidget* page);     // Frame_ding_2 "计划界面" (PlanPage.cpp)
void BuildMonitorPage(Shell& shell, QWidget* page);  // Frame_ding_3 "监控界面" (MonitorPage.cpp)
void BuildBankerPage(Shell& shell, QWidget* page);   // Frame_ding_4 "胆码排序" (BankerPage.cpp)
void BuildAutoBetPage(Shell& shell, QWidget* page);  // Frame_ding_5 "附加功能" (AutoBetPage.cpp)
// Parts of page 5 built by the money subsystem, placed by BuildAutoBetPage.
void BuildCapitalFrame(Shell& shell, QWidget* parent);  // capital frame and bet log (CapitalFrame.cpp)
// The statistics frame Frame_canshu_0 "投注参数设置" of the settings centre, placed by
// BuildSettingsCentre (StatsFrame.cpp). Returns the frame.
QWidget* BuildStatsFrame(Shell& shell, QWidget* parent);

// Windows and panels beside the pages. `main` is Fmain.
void BuildSmallWindows(Shell& shell, QWidget* main);    // Fadd, Fbj, Ftishi (SmallWindows.cpp)
void BuildToolWindow(Shell& shell, QWidget* main);      // Ftool, the shrink tool (ToolWindow.cpp)
void BuildSideWindow(Shell& shell, QWidget* main);      // Fk, charts and schemes (SideWindow.cpp)
void BuildSettingsCentre(Shell& shell, QWidget* main);  // Frame_sz_zx (SettingsCentre.cpp)
void BuildAnalysisWindow(Shell& shell, QWidget* main);  // Ffenxi, backtest and sweep (AnalysisWindow.cpp)

}  // namespace lumora
