// Print and Save page as, until the printing and saving unit fills them in (it
// replaces this file): the menu and the shortcuts already reach them, and they say
// in the status bar that the command is not there yet instead of doing nothing.
#include "tarayici_ic.h"

namespace korva {

void sayfayi_yazdir() { bildir("Yazdirma henuz yok"); }

void sayfayi_kaydet() { bildir("Sayfayi kaydetme henuz yok"); }

}  // namespace korva
