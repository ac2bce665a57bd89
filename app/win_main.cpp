// Program entry of the calculator.
#include <windows.h>

#include "app/main_window.h"

using namespace ruruzir;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR, int showCommand) {
  return RunCalculator(instance, previousInstance, showCommand);
}
