// (in progress)
#pragma once
