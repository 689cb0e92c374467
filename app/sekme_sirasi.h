// Where Korva puts a tab that a page opens, and the title of its window: two small
// rules kept apart from the reactions (olaylar.cpp) so that they can be tested alone.
#pragma once

#include <stdint.h>

#include <string>

namespace korva {

// A run of tabs opened from one page: a link with a target, a middle or a Ctrl
// click. The first tab of a run goes right after the page's tab, each later one
// right after the one before it, so the tabs stand in the order they were asked
// for. The run ends when another tab is selected, when the page navigates, or when
// the page's tab or the run's last tab closes; the next tab the page opens then
// starts a new run. Tabs are named by their web view ids, positions by the table of
// the web view shown at each position (`gorunumler`, `sayi` entries).
class AcilisDizisi {
public:
    // Where a tab that the page of web view `kaynak` opens goes: a position from 1
    // to `sayi`; `sayi` (the end) when `kaynak` shows in no tab.
    int64_t yeni_sekme_yeri(int64_t kaynak, const int64_t* gorunumler, int64_t sayi) const;
    // The page of `kaynak` opened a tab showing `yeni`.
    void acildi(int64_t kaynak, int64_t yeni);
    // The tab showing `secili` was selected.
    void secildi(int64_t secili);
    // The page of `gorunum` went to another address.
    void gezindi(int64_t gorunum);
    // The tab showing `gorunum` closed.
    void kapandi(int64_t gorunum);

private:
    void bitir();

    int64_t kaynak_ = -1;  // the page whose run goes on; -1: no run
    int64_t son_ = -1;     // the run's last tab
};

// The window's title for a page title: the title, cut to its first 100 characters
// with "..." after them when longer, then " - Korva"; "Korva" alone for an empty
// title. Only the characters kept are read, so a title of megabytes costs nothing
// more. A title is taken as UTF-8 and never cut inside a character.
std::string pencere_basligi(const char* baslik, int64_t uzunluk);

}  // namespace korva
