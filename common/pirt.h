// The shared application services, compiled into every deliverable.
#pragma once
#include "services.h"
#include "language.h"
#include "logfile.h"
#include "reportrows.h"
#include "registrykey.h"
