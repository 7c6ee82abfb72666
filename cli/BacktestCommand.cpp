#include "cli/CliSupport.h"
#include "cli/Commands.h"

namespace lumora::cli {

int RunBacktest(int, char**) { return Fail("this command is not built yet"); }

}  // namespace lumora::cli
