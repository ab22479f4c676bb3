// The one application object of the editor; the framework's main function runs it.
#include "EditorApp.h"

CEditorApp theApp;
