// (in progress)
#pragma once
#include "platform/exports.h"
