#include "JanelasValidacao.h"

#include "platform/Formularios.h"

// Validation, its results and pending items.
void registrarJanelasValidacao()
{
}
