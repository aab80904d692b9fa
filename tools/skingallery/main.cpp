// skingallery [SKINFILE]: shows every kind of control the skin engine draws, skinned with
// Vrin's own skin or with the skin file given.
#include <objbase.h>

#include <cstdlib>
#include <string>

#include "gallery.h"
#include "skin/skin_data.h"
#include "ui/application.h"
#include "ui/form.h"

using namespace vrin;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CoInitialize(nullptr);
  Application& app = application();
  app.setTitle("Skin gallery");
  auto* skin = new SkinData(nullptr);
  skin->beginLoading();
  skin->SetActive(true);
  if (__argc > 1) {
    const std::string file = __argv[1];
    if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
      app.showErrorText("The skin file " + file + " does not exist.");
      return 1;
    }
    skin->SetSkinFile(file);
  } else {
    skin->ReadSkinStream(skinStreamResource("VRINSKIN"));
  }
  skin->endLoading();
  if (skin->NoSkin()) {
    const std::string why = skin->LoadError().empty() ? "it is not a skin" : skin->LoadError();
    app.showErrorText("The skin could not be loaded: " + why + ".");
    delete skin;
    return 1;
  }
  Form* form = makeGalleryForm();
  app.setMainForm(form);
  form->show();
  app.run();
  delete form;
  delete skin;
  CoUninitialize();
  return 0;
}
