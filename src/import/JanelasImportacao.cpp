#include "JanelasImportacao.h"

#include "platform/Formularios.h"

// Each window of this library registers its factory here.
void registrarJanelasImportacao()
{
}
