#include "cli/CliSupport.h"
#include "cli/Commands.h"

namespace lumora::cli {

int RunFeed(int, char**) { return Fail("this command is not built yet"); }

}  // namespace lumora::cli
