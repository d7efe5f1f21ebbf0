#include "Tavlo.h"

#include "ui/Application.h"

int main(int argc, char** argv)
{
    TApplication application(argc, argv);
    return RunTavlo(TApplication::arguments());
}
