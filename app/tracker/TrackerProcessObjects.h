#pragma once

class StandardOutputDiversion;

// Built before every other process-wide object of the tracker.
extern StandardOutputDiversion standardOutputDiversion;
