// Which printer model a driver or an answer names.
#pragma once

enum ModelCode {
    ModelKoa2400MaxR = 17,   // answers "?MODEL" with "koa240MR"
    ModelKoa2600MaxR = 18,   // answers "?MODEL" with "koa260MR"
    ModelUnsupported = 240,  // the chosen printer's driver is not ours
};
