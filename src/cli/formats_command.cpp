#include <iostream>

#include "commands.h"
#include "readers/reader_table.h"

namespace vellumar::cli {

int runFormats(const Arguments& arguments) {
    expectNoArguments(arguments);
    for (const FormatRow& row : pictureFormats().rows()) {
        std::cout << row.extension << '\t' << row.description << '\t' << row.reader->name << '\n';
    }
    return 0;
}

} // namespace vellumar::cli
