// korva.exe: the process entry. Command-line arguments are ignored.
#include "korva.h"

int main() {
    korva_baslat();
    return static_cast<int>(korva_dongu());
}
