#include "dircompare/DirCompareState.h"
