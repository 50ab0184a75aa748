#include "JanelasEntrega.h"

#include "platform/Formularios.h"

// Recording of the delivery set and the tracking report.
void registrarJanelasEntrega()
{
}
