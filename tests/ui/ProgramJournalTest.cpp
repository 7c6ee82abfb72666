// The journal's lasting trouble in the real Program's main window: the status line L_journal says
// the journal is not open and how many rows wait, and empties once they are written.
#include <QCoreApplication>
#include <QLabel>
#include <filesystem>

#include "core/controls/Fmain.h"
#include "money/BetLog.h"
#include "support/ScratchFolder.h"
#include "ui/Program.h"
#include "ui/support/UiTest.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

TEST(ProgramJournal, ALastingFailureShowsInTheStatusLineUntilTheRowsAreWritten) {
  uitest::App();
  const lumora::testing::ScratchFolder scratch("program-journal");
  const fs::path data = scratch / "data";
  fs::copy(std::getenv("LUMORA_DATA"), data, fs::copy_options::recursive);
  fs::create_directory(data / "journal.sqlite");  // a folder where the journal should be
  {
    Program program({"http://127.0.0.1:1/draws", data.string(), ""});
    ASSERT_TRUE(program.start());
    QCoreApplication::processEvents();
    auto* status = program.window().findChild<QLabel*>(ObjectName(fmain::L_journal));
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->text().startsWith("运行记录未能打开")) << status->text().toStdString();
    program.shell().run([](Session& s) { LogBetMessage(s.cx, "投注完成"); });
    QCoreApplication::processEvents();
    EXPECT_TRUE(status->text().contains("1 rows waiting")) << status->text().toStdString();

    fs::remove(data / "journal.sqlite");  // the journal can be made now
    program.shell().run([](Session& s) { LogBetMessage(s.cx, "投注完成"); });
    QCoreApplication::processEvents();
    EXPECT_EQ(status->text().toStdString(), "");
    program.end("closed");
  }
}

}  // namespace
}  // namespace lumora
