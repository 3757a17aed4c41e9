// The module's own translation unit: everything it exports comes from the
// plug-in and TextUnits archives linked in whole.
