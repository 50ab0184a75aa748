#include "JanelasVinculacao.h"

#include "platform/Formularios.h"

// Linking the company's accounts to the standard chart.
void registrarJanelasVinculacao()
{
}
