#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "html/template_file.h"
#include "model/output_policy.h"
#include "model/owned_files.h"

namespace vellumar {

// The image, style-sheet and script files a template line refers to, as written: each a
// quoted attribute value (="...") ending in ".gif", ".jpg", ".bmp", ".css" or ".js", the
// extension in any letter case.
std::vector<std::string> resourceReferences(std::string_view line);

// The files the template of a style refers to, and the folder they are copied from. A
// template that cannot be read gives no names.
TemplateFiles templateFilesOf(const std::string& programFolder, const std::string& style);

// Copies every file the template of `style` refers to from programFolder + "template/" into
// destinationFolder, replacing files of the same name; a file in a sub-folder gets that
// sub-folder made inside destinationFolder when it is missing. A reference that is absolute, has a
// ".." part, or leads out of the template folder through a link, and one whose folder in the
// destination is a link out of it, fail with a ProjectError naming the style and the
// reference before anything is copied.
void ExtractImgFile(const TemplateLines& lines, const std::string& programFolder,
                    const std::string& style, const std::string& destinationFolder,
                    const OutputPolicy& policy);

} // namespace vellumar
