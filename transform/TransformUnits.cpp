#include "transform/TransformUnits.h"

#include "transform/Ellipsoids.h"
#include "transform/GeoidTable.h"
#include "transform/Konforemna.h"
#include "transform/TransformDispatcher.h"
#include "transform/TransformLibrary.h"
#include "transform/ZoneCorrection65.h"

void InitializeTransformUnits() {
    InitEllipsoidTables();
    InitWarszawaPolynomials();
    InitZoneCorrection();
    InitTransformDispatcher();
    InitTransformLibrary();
    InitGeoid();
}

void FinalizeTransformUnits() {
    DoneGeoid();
    DoneTransformDispatcher();
    DoneWarszawaPolynomials();
}
