// The titles that message boxes and the main window share, localised.
#pragma once

#include <string>

namespace quillmor {

// "Error", the title of every failure.
std::u16string ErrorTitle();
// "Information".
std::u16string InformationTitle();
// "Completed", after something the user asked for was done.
std::u16string CompletedTitle();
// The main window's title while nothing else claims it: "Quillmor -
// quillmor.app".
std::u16string MainWindowTitle();

}  // namespace quillmor
