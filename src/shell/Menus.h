#pragma once
// Shared procedures on the main window: closing the secondary windows, the
// state of the File menu's items and their toolbar buttons, and help. They
// act on the main window when it exists and do nothing to it otherwise.

// Unloads the loaded windows from the last down to the third (the splash and
// the main window stay).
void Fecha_Formularios();
// True when the register holds at least one declaration; enables or disables
// the declaration-dependent items and buttons accordingly.
bool Verifica_EmpresariosImportados();
// Enable / disable the File menu's items and their buttons (DesabilitaMenus
// leaves "&Sair" usable; HabilitaMenus also enables it).
void HabilitaMenus();
void DesabilitaMenus();
// Opens the help at a context number.
void MostraAjuda(int contexto);
