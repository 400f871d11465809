#include "console/ferrow_app.h"

int main() {
    return ferrow::runFerrow();
}
