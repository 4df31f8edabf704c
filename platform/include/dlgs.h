// The platform's standard dialog-control identifiers used by SlantGlyphDemo's template.
#pragma once

#define chx1 0x0410
#define chx2 0x0411
#define chx3 0x0412
#define chx4 0x0413
#define chx5 0x0414
#define cmb1 0x0470
#define edt1 0x0480
#define edt2 0x0481
#define scr1 0x0490
#define scr2 0x0491
