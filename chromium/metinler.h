// Every text the engine library over Chromium shows a person, in one table: the
// page's context menu, the script dialogs and their "no more dialogs" box, the
// native <select> list's name, the file chooser and the save dialog of a page's
// window.print(), and what the status bar says of that print.
//
// The texts are Korva's language, ASCII-only Turkish like the browser's own, so
// that the library speaks as the program around it does. A text is asked for by
// its name (metin(Metin::kes)); the table holds one entry per name, in the order
// of the enum, which a compile-time check and a unit test keep whole.
#pragma once

#include <cstddef>

enum class Metin : int {
    // The page's context menu.
    bagi_yeni_sekmede_ac,
    bag_adresini_kopyala,
    kes,
    kopyala,
    yapistir,
    tumunu_sec,
    geri,
    ileri,
    yenile,
    // Script dialogs: their buttons, the question of a page that asks before it is
    // left, and the box that stops a page's further dialogs ("&" marks its key).
    tamam,
    iptal,
    ayril,
    kal,
    ayrilma_sorusu,
    diyaloglari_durdur,
    // The <select> list's window name (screen readers and window lists show it).
    secim_listesi,
    // The file chooser of a file input: its title (one file or several) and the
    // names of its two filters; the accepted patterns follow the first in brackets.
    dosya_sec,
    dosyalari_sec,
    kabul_edilen_dosyalar,
    tum_dosyalar,
    // The save dialog of a page's window.print() and the status bar after it; the
    // file's name follows the last two.
    pdf_kaydet,
    pdf_belgesi,
    pdf_kaydedildi,
    pdf_kaydedilemedi,
    sayi  // not a text: the number of texts
};

// The text of a name; the empty text for a value outside the enum (never null).
const wchar_t* metin(Metin ad);
