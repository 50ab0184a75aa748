#pragma once
// The import engine: everything an import run does, without widgets.
#include "Arquivos.h"
#include "Consultas.h"
#include "Contexto.h"
#include "Critica.h"
#include "Execucao.h"
#include "Gravadores.h"
#include "Leitura.h"
#include "Tabelas.h"
