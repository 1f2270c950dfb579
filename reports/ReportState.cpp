#include "reports/ReportState.h"
