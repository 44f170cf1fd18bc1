#include "ui/form1.h"

namespace pelvano {

// Saving the pattern and the key as pictures, and printing them. The buttons are enabled by a
// completed generation run and disabled by opening a picture.

void TForm1::SpeedButton4Click() {
    // TODO: print the pattern.
}

void TForm1::SpeedButton5Click() {
    // TODO: print the key.
}

} // namespace pelvano
