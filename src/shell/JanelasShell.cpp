#include "JanelasShell.h"

#include "platform/Formularios.h"

// Each window of this library registers its factory here.
void registrarJanelasShell()
{
}
