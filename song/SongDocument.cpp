// The song side of the document: the close-time save of the three song tables.
#include "app/LyraDoc.h"
#include "song/SongFileCommands.h"

bool CLyraDoc::SaveSongsWithDialog() { return WriteSongFile(m_song, m_nSongCount); }
