#include "cli/CliSupport.h"
#include "cli/Commands.h"

namespace lumora::cli {

int RunRank(int, char**) { return Fail("this command is not built yet"); }
int RunFilter(int, char**) { return Fail("this command is not built yet"); }
int RunShrink(int, char**) { return Fail("this command is not built yet"); }

}  // namespace lumora::cli
