#pragma once

#include "command_line.h"

namespace vellumar::cli {

int runFormats(const Arguments& arguments);
int runConvert(const Arguments& arguments);
int runNew(const Arguments& arguments);
int runShow(const Arguments& arguments);
int runInfo(const Arguments& arguments);

} // namespace vellumar::cli
