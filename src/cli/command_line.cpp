#include "command_line.h"

#include "commands.h"

namespace vellumar::cli {

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"formats", "formats                      list the readable picture formats", runFormats},
        {"convert", "convert INPUT OUTPUT         write a picture as a quality-90 JPEG file",
         runConvert},
        {"new",
         "new -o PROJECT.vlm [--program-folder DIR] [--style NAME] [--add FILE]...\n"
         "      [--add-dir DIR]... [--add-tree DIR]... [--set KEY=VALUE]... [--force]\n"
         "      [--titles-from-metadata]\n"
         "                               start a project as the wizard does and save it;\n"
         "                               an existing file is replaced only with --force;\n"
         "                               titles and infos from what the pictures carry\n"
         "                               with --titles-from-metadata",
         runNew},
        {"show",
         "show PROJECT.vlm [--program-folder DIR]\n"
         "                               print a project as saving it would write it",
         runShow},
        {"info", "info FILE...                 decode pictures and print their sizes", runInfo},
        {"build",
         "build PROJECT.vlm [--program-folder DIR] [--dest DIR] [--yes | --no]\n"
         "      [--quiet | --verbose] [--thumb-protect on|off] [--image-protect on|off]\n"
         "      [--jobs N] [--no-reuse] [--keep-going] [--memory-limit MB]\n"
         "                               build the whole gallery of a project on N worker\n"
         "                               threads (one per core), taking the pictures that\n"
         "                               earlier builds left unchanged unless --no-reuse;\n"
         "                               pictures decoding at once take at most MB megabytes\n"
         "                               (2000), a picture that alone needs more is refused;\n"
         "                               Ctrl-C stops it between pictures, keeping what was\n"
         "                               written; with --keep-going, pictures that cannot be\n"
         "                               read get placeholders (exit status 1), and a project\n"
         "                               whose pictures are missing is built without them;\n"
         "                               on a terminal one progress line and a summary,\n"
         "                               --quiet only errors and warnings, --verbose every\n"
         "                               status line and answered question",
         runBuild},
        {"preview",
         "preview PROJECT.vlm [--program-folder DIR] [--open]\n"
         "                               build the preview gallery and print its index page",
         runPreview},
    };
    return table;
}

std::string usageText() {
    std::string text = "Usage: vellumar-cli COMMAND [ARGUMENTS]\n"
                       "Builds static HTML photo galleries from Vellumar projects.\n\n"
                       "Commands:\n";
    for (const Command& command : commands()) {
        text += "  " + std::string(command.synopsis) + "\n";
    }
    text += "\nExit status: 0 on success, 1 on failure, 2 on wrong usage, 130 when stopped by "
            "Ctrl-C.\n";
    return text;
}

void expectNoArguments(const Arguments& arguments) {
    if (!arguments.empty()) {
        throw UsageError("unexpected argument '" + arguments.front() + "'");
    }
}

} // namespace vellumar::cli
