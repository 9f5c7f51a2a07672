// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tarvexapp.h"

int main(int argc, char *argv[])
{
    return CTarvexApp::Main(argc, argv);
}
