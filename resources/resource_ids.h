#pragma once
// Resource ids shared by the resource script and the program. Icon 1 comes first so that
// Explorer shows it as the program file's icon.

#define IDI_QUORVEL 1
#define IDI_PICTURE2 2
