// Downloads. In the engine's protocol they belong to the browser, not to a page:
// the engine saves every download under its guid in a folder of the private profile
// (Browser.setDownloadBehavior, allowAndName) and reports it on the browser's own
// session. Here each download finds the view whose page started it (by the frame
// that started it: a page's main frame id is its target's id, and the frames its
// pages navigate are remembered), raises that view's DownloadStarting, and feeds
// the download operation the engine's progress. A complete file is moved to its
// final name on a worker thread, so neither the page nor the host's thread waits
// for a copy; until then nothing exists under the final name.
#pragma once

#include "motor_ic.h"

class Gorunum;

// A new engine: its downloads go to `profil`\indirmeler, under their guids.
void indirmeleri_bagla(Baglanti& baglanti, const std::wstring& profil);
// The folder part of that, alone: made when missing, answered (empty without a
// profile). Events of downloads that are not GUIDs are ignored: nothing is made,
// reported, moved or deleted for them.
const std::wstring& indirme_klasorunu_kur(const std::wstring& profil);
// Every event of the engine passes here first, with the view of its session (null
// for the browser's own). True when it was a download's, which no view takes.
bool indirme_olayi(Gorunum* gorunum, const std::string& yontem, const Json& parametreler);
// The engine has ended: every download it was writing is interrupted.
void indirmeler_motor_bitti();
// True while a download that began less than `sure_ms` ago is still being written
// by the engine.
bool yeni_indirme_suruyor(ULONGLONG sure_ms);

// The open view over a page target (hedefler.cpp), or null.
Gorunum* hedefin_gorunumu(const std::string& hedef);
