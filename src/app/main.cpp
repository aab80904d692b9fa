// Vrin: the tray companion of the popup-blocking browser helper.
#include <objbase.h>

#include "app/helper_form.h"
#include "app/product.h"
#include "app/single_copy.h"
#include "cleaner/browser_stores.h"
#include "ui/application.h"

using namespace vrin;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CoInitialize(nullptr);
  // A later copy hands over to the first (one tray icon, one panic key, one registration)
  // and ends.
  SingleCopy copy(kSingleCopyMutex);
  if (!copy.first() && copy.handOver(kFormClass, kAppTitle, RegisterWindowMessageA(kShowHistoryMessage), 10000)) {
    CoUninitialize();
    return 0;
  }
  Application& app = application();
  app.setTitle(kAppTitle);
  HelperForm* form = nullptr;
  try {
    form = new HelperForm(nullptr);
  } catch (...) {
    // Without the system's URL history object the program cannot clean: it stops here.
    int code = reportStartupFailure(std::current_exception());
    CoUninitialize();
    return code;
  }
#ifdef VRIN_SKIN_OFF
  form->SkinData1->SetActive(false);  // the benchmark's build without the skin
#endif
  app.run();
  delete form;
  CoUninitialize();
  return 0;
}
