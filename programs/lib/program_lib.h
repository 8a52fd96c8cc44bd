#pragma once
// Shared code of the picture programs.
