#pragma once

#include <string>

namespace tokeiya {

class CTokeiyaDoc;

// Saves a list's CSV text where the user chooses: the file name `fileName` is proposed in
// the folder used last ("FILE"/"CsvFolder", else the documents folder), the chosen folder
// is remembered, and the file is written whole or not at all, readable by its user only
// (lists of pay and attendance are personal data). The user is told the outcome. False
// when nothing was written (cancelled or failed).
bool ExportCsvFile(CTokeiyaDoc& doc, const std::string& fileName, const std::string& text);

}  // namespace tokeiya
