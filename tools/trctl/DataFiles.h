// DataFiles.h - the user's data files loaded and written through the
// library's database classes, with the reason in words when that fails.
#ifndef TRCTL_DATAFILES_H
#define TRCTL_DATAFILES_H

#include "include/TrCommonClasses.h"

#include <string>

namespace trctl {

// How one data file of the user's data folder loaded.
struct DataFileLoad {
    std::string path;            // full path; empty when the data folder is unknown
    std::string name;            // the file name, for messages
    int result = TR_DB_NO_FILE;  // the result of Load
    bool missing = false;        // the file does not exist, its folder does
    std::string problem;         // why the file cannot be used, a sentence naming it; empty after 0 or 6
};

// Loads the file at TrComGetPath(pathIndex) into db. On failure 'problem'
// names the cause: no data folder (run trctl setup), the file missing, a
// folder, in use by another process, or the bad section with its line
// number and what is wrong with it. The records before a bad section stay
// in db, as the engine leaves them.
DataFileLoad LoadDataFile(CTrNumeralKeyDB& db, int pathIndex);
DataFileLoad LoadDataFile(CTrStringKeyDB& db, int pathIndex);
DataFileLoad LoadDataFile(CTrJogDataDB& db, int pathIndex);

// Writes db to path; false with the cause in 'problem' (naming the file) when the write did
// not complete (a file in use elsewhere is refused before anything changes).
bool WriteDataFile(CTrAbstDB& db, const std::string& path, std::string& problem);

// Where the jog menu breaks its level rules, in words; empty when it keeps
// them. The first entry is at level 0, and every next one at level 0 or
// deeper, at most one level deeper than the entry before it, and deeper
// only when that entry is a folder (an application holds nothing).
std::string JogLevelProblem(const CTrJogDataDB::DataList& list);

}  // namespace trctl

#endif  // TRCTL_DATAFILES_H
