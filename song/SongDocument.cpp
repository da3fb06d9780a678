// The song side of the document. This first version has no song file yet; the song
// page replaces it.
#include "app/LyraDoc.h"

bool CLyraDoc::SaveSongsWithDialog() { return false; }
