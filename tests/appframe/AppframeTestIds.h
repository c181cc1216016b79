/* Ids of the appframe tests' resource script; plain #defines so the script can include it. */
#ifndef APPFRAME_TEST_IDS_H
#define APPFRAME_TEST_IDS_H

/* The placement tests read the section "Dialog 100 size". */
#define IDD_FIXED_SIZE 100

#endif
