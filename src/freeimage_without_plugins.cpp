// The console program links FreeImage's archive rather than its shared library: it converts the
// bitmaps it decodes itself and never loads a picture through FreeImage, so the file-format
// plugins and the eighteen codec libraries behind them, which the shared library loads and
// registers at every start, stay out of it. That halves the start of a conversion of a small
// picture. The archive's FreeImage.o would bring the plugin registry along only for the message
// function every part of FreeImage reports errors through; this takes its place. FreeImage hands
// messages to a handler set with FreeImage_SetOutputMessage, and this program sets none, so
// they go nowhere, as with the shared library. Linking anything that needs FreeImage.o (a
// plugin, a handler) fails on the symbol defined twice rather than bringing the plugins back.
#include <FreeImage.h>

extern "C" void DLL_CALLCONV FreeImage_OutputMessageProc(int, const char *, ...) {}
