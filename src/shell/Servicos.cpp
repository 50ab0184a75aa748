#include "Servicos.h"
