#pragma once
// Registers the factories of this library's windows with Formularios.
void registrarJanelasValidacao();
