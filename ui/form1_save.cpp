#include "ui/form1.h"
#include "ui/save_command.h"

namespace pelvano {

// Saving the pattern and the key as pictures. The dialog starts in the folder of the last saved
// file and offers the filter entry chosen last.

void TForm1::SpeedButton2Click() {
    SavePictureFile(dialogs_, this, {SaveDir, SaveFilterIndex}, Image4, SavedPicture::Pattern);
}

void TForm1::SpeedButton3Click() {
    SavePictureFile(dialogs_, this, {SaveDir, SaveFilterIndex}, KeyImage, SavedPicture::Key);
}

} // namespace pelvano
