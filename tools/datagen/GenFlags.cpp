// The country-flag atlases: 16 x 16 cells (32 and 64 pixels) in the order of the game's
// country table (cell 223 the United Kingdom, cell 222 unused). Each flag is a small
// drawing program over the unit square, one command per ';':
//   h:c,c,..  v:c,c,..        equal horizontal / vertical stripes
//   hw:n:c,n:c,..  vw:...     weighted stripes
//   rect:c,x0,y0,x1,y1        poly:c,x,y,x,y,...       disc:c,cx,cy,r
//   ring:c,cx,cy,r,hw         ellipse:c,cx,cy,rx,ry    star:c,cx,cy,r[,points[,inner]]
//   crescent:c,cx,cy,r        nordic:c,w[,cx]          plus:c,w
//   saltire:c,w               tri:c,depth              sun:c,cx,cy,r
//   cross:c,cx,cy,arm,w       a small plus sign
//   ujack:x0,y0,x1,y1         checker:c1,c2,x0,y0,x1,y1,n   line:c,x0,y0,x1,y1,w
//   starsring:c,cx,cy,R,n,r
// Colours are letters (see FlagColour) or #rrggbb.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "Datagen.h"
#include "DgOutput.h"

namespace
{
const char *const kFlags[224] = {
    /* 0 Afghanistan */ "v:k,r,g;ring:w,0.5,0.5,0.16,0.035;rect:w,0.46,0.42,0.54,0.56",
    /* 1 Albania */ "h:#e41e20;poly:k,0.5,0.2,0.62,0.32,0.85,0.25,0.7,0.45,0.8,0.6,0.58,0.55,0.5,0.82,0.42,0.55,0.2,0.6,0.3,0.45,0.15,0.25,0.38,0.32",
    /* 2 Algeria */ "v:#006233,w;crescent:#d21034,0.52,0.5,0.24;star:#d21034,0.6,0.5,0.09",
    /* 3 American Samoa */ "h:#002b7f;poly:w,1,0,0,0.5,1,1;poly:#ce1126,1,0.1,0.15,0.5,1,0.9;ellipse:#ffc72c,0.62,0.5,0.12,0.06",
    /* 4 Andorra */ "v:#10069f,#fedd00,#d50032;rect:#c7a500,0.42,0.36,0.58,0.62;rect:#d50032,0.45,0.4,0.55,0.58",
    /* 5 Angola */ "h:#cc092f,k;ring:#ffcb00,0.5,0.5,0.2,0.04;star:#ffcb00,0.46,0.45,0.07;line:#ffcb00,0.38,0.66,0.66,0.36,0.035",
    /* 6 Anguilla */ "h:#012169;ujack:0,0,0.5,0.5;rect:w,0.6,0.38,0.88,0.72;rect:#00a6dd,0.6,0.6,0.88,0.72;disc:#f18a00,0.74,0.48,0.06",
    /* 7 Antarctica */ "h:#3a7dce;poly:w,0.3,0.3,0.55,0.22,0.72,0.35,0.7,0.58,0.55,0.75,0.38,0.7,0.25,0.52",
    /* 8 Antigua & Barbuda */ "h:#ce1126;poly:k,0,0,1,0,0.5,1;poly:#0072c6,0.2,0.4,0.8,0.4,0.5,1;poly:w,0.33,0.66,0.67,0.66,0.5,1;sun:#fcd116,0.5,0.3,0.13",
    /* 9 Argentina */ "h:#74acdf,w,#74acdf;sun:#f6b40e,0.5,0.5,0.11",
    /* 10 Armenia */ "h:#d90012,#0033a0,#f2a800",
    /* 11 Aruba */ "h:#418fde;rect:#fbe122,0,0.64,1,0.7;rect:#fbe122,0,0.76,1,0.82;star:w,0.22,0.26,0.15,4,0.3;star:#ef3340,0.22,0.26,0.11,4,0.3",
    /* 12 Australia */ "h:#012169;ujack:0,0,0.5,0.5;star:w,0.25,0.76,0.13,7,0.45;star:w,0.76,0.18,0.06,7,0.45;star:w,0.76,0.82,0.06,7,0.45;star:w,0.64,0.45,0.06,7,0.45;star:w,0.88,0.4,0.06,7,0.45",
    /* 13 Austria */ "h:#ed2939,w,#ed2939",
    /* 14 Azerbaijan */ "h:#00b5e2,#ef3340,#509e2f;crescent:w,0.47,0.5,0.12;star:w,0.55,0.5,0.055,8",
    /* 15 Bahamas */ "h:#00abc9,#fae042,#00abc9;tri:k,0.45",
    /* 16 Bahrain */ "h:#ce1126;poly:w,0,0,0.3,0,0.42,0.1,0.3,0.2,0.42,0.3,0.3,0.4,0.42,0.5,0.3,0.6,0.42,0.7,0.3,0.8,0.42,0.9,0.3,1,0,1",
    /* 17 Bangladesh */ "h:#006a4e;disc:#f42a41,0.45,0.5,0.28",
    /* 18 Barbados */ "v:#00267f,#ffc726,#00267f;poly:k,0.5,0.22,0.56,0.36,0.53,0.36,0.53,0.55,0.62,0.4,0.66,0.28,0.66,0.5,0.53,0.62,0.53,0.8,0.47,0.8,0.47,0.62,0.34,0.5,0.34,0.28,0.38,0.4,0.47,0.55,0.47,0.36,0.44,0.36",
    /* 19 Belarus */ "hw:2:#c8313e,1:#4aa657;rect:w,0,0,0.16,1;star:#c8313e,0.08,0.2,0.06,4,0.4;star:#c8313e,0.08,0.5,0.06,4,0.4;star:#c8313e,0.08,0.8,0.06,4,0.4",
    /* 20 Belgium */ "v:k,#fdda24,#ef3340",
    /* 21 Belize */ "hw:1:#ce1126,8:#003f87,1:#ce1126;disc:w,0.5,0.5,0.3;ring:#3a7728,0.5,0.5,0.27,0.035;rect:#003f87,0.42,0.4,0.58,0.6",
    /* 22 Benin */ "h:#fcd116,#e8112d;rect:#008751,0,0,0.4,1",
    /* 23 Bermuda */ "h:#c8102e;ujack:0,0,0.5,0.5;rect:w,0.62,0.38,0.86,0.7;rect:#c8102e,0.66,0.5,0.82,0.66",
    /* 24 Bhutan */ "poly:#ffd520,0,0,1,0,0,1;poly:#ff4e12,1,0,1,1,0,1;ellipse:w,0.5,0.5,0.26,0.1;disc:w,0.3,0.42,0.07",
    /* 25 Bolivia */ "h:#d52b1e,#f9e300,#007934",
    /* 26 Bosnia & Herzegovina */ "h:#002395;poly:#fecb00,0.25,0,0.8,0,0.8,1;star:w,0.13,0.05,0.05;star:w,0.23,0.2,0.05;star:w,0.33,0.35,0.05;star:w,0.43,0.5,0.05;star:w,0.53,0.65,0.05;star:w,0.63,0.8,0.05;star:w,0.73,0.95,0.05",
    /* 27 Botswana */ "hw:9:#75aadb,1:w,4:k,1:w,9:#75aadb",
    /* 28 Brazil */ "h:#009c3b;poly:#ffdf00,0.5,0.1,0.93,0.5,0.5,0.9,0.07,0.5;disc:#002776,0.5,0.5,0.22;line:w,0.28,0.44,0.72,0.54,0.03",
    /* 29 Brunei */ "h:#f7e017;poly:w,0,0.18,1,0.6,1,0.78,0,0.36;poly:k,0,0.36,1,0.78,1,0.94,0,0.52;disc:#cf1126,0.5,0.5,0.14",
    /* 30 Bulgaria */ "h:w,#00966e,#d62612",
    /* 31 Burkina Faso */ "h:#ef2b2d,#009e49;star:#fcd116,0.5,0.5,0.17",
    /* 32 Burundi */ "h:#ce1126;poly:#1eb53a,0,0,0.5,0.5,0,1;poly:#1eb53a,1,0,0.5,0.5,1,1;saltire:w,0.1;disc:w,0.5,0.5,0.22;star:#ce1126,0.5,0.41,0.055,6;star:#ce1126,0.42,0.56,0.055,6;star:#ce1126,0.58,0.56,0.055,6",
    /* 33 Cambodia */ "hw:1:#032ea1,2:#e00025,1:#032ea1;poly:w,0.25,0.66,0.75,0.66,0.72,0.6,0.64,0.6,0.62,0.42,0.58,0.42,0.56,0.32,0.53,0.32,0.5,0.24,0.47,0.32,0.44,0.32,0.42,0.42,0.38,0.42,0.36,0.6,0.28,0.6",
    /* 34 Cameroon */ "v:#007a5e,#ce1126,#fcd116;star:#fcd116,0.5,0.5,0.12",
    /* 35 Canada */ "vw:1:#d80621,2:w,1:#d80621;poly:#d80621,0.5,0.2,0.55,0.3,0.6,0.28,0.58,0.42,0.67,0.34,0.7,0.4,0.76,0.38,0.72,0.52,0.76,0.55,0.62,0.64,0.64,0.7,0.52,0.68,0.52,0.8,0.48,0.8,0.48,0.68,0.36,0.7,0.38,0.64,0.24,0.55,0.28,0.52,0.24,0.38,0.3,0.4,0.33,0.34,0.42,0.42,0.4,0.28,0.45,0.3",
    /* 36 Cape Verde */ "hw:6:#003893,1:w,1:#cf2027,1:w,3:#003893;starsring:#f7d116,0.38,0.62,0.22,10,0.04",
    /* 37 Cayman Islands */ "h:#012169;ujack:0,0,0.5,0.5;rect:w,0.62,0.36,0.86,0.72;rect:#c8102e,0.62,0.36,0.86,0.46;rect:#0072c6,0.62,0.56,0.86,0.72;star:#00843d,0.74,0.28,0.06",
    /* 38 Central African Republic */ "h:#003082,w,#289728,#ffce00;rect:#d21034,0.42,0,0.58,1;star:#ffce00,0.15,0.13,0.09",
    /* 39 Chad */ "v:#002664,#fecb00,#c60c30",
    /* 40 Chile */ "h:w,#d52b1e;rect:#0039a6,0,0,0.4,0.5;star:w,0.2,0.25,0.12",
    /* 41 China */ "h:#de2910;star:#ffde00,0.2,0.27,0.14;star:#ffde00,0.38,0.1,0.045;star:#ffde00,0.46,0.2,0.045;star:#ffde00,0.46,0.34,0.045;star:#ffde00,0.38,0.44,0.045",
    /* 42 Colombia */ "hw:2:#fcd116,1:#003893,1:#ce1126",
    /* 43 Comoros */ "h:#ffc61e,w,#ce1126,#3a75c4;tri:#3d8e33,0.5;crescent:w,0.16,0.5,0.15;star:w,0.27,0.36,0.03;star:w,0.29,0.45,0.03;star:w,0.29,0.55,0.03;star:w,0.27,0.64,0.03",
    /* 44 Congo */ "h:#fbde4a;poly:#009543,0,0,0.7,0,0,0.7;poly:#dc241f,1,0.3,1,1,0.3,1",
    /* 45 Congo, The Democratic Republic of The */ "h:#007fff;poly:#f7d618,0,0.8,0.8,0,1,0,1,0.2,0.2,1,0,1;poly:#ce1021,0,0.9,0.9,0,1,0,1,0.1,0.1,1,0,1;star:#f7d618,0.18,0.2,0.12",
    /* 46 Cook Islands */ "h:#012169;ujack:0,0,0.5,0.5;starsring:w,0.72,0.55,0.2,15,0.035",
    /* 47 Costa Rica */ "hw:1:#002b7f,1:w,2:#ce1126,1:w,1:#002b7f",
    /* 48 Cote d'Ivoire */ "v:#f77f00,w,#009e60",
    /* 49 Croatia */ "h:#ff0000,w,#171796;checker:#ff0000,w,0.38,0.28,0.62,0.62,5",
    /* 50 Cuba */ "h:#002a8f,w,#002a8f,w,#002a8f;tri:#cf142b,0.5;star:w,0.17,0.5,0.11",
    /* 51 Cyprus */ "h:w;poly:#d57800,0.2,0.42,0.35,0.3,0.55,0.32,0.72,0.22,0.82,0.26,0.62,0.4,0.55,0.5,0.35,0.52;line:#4e5b31,0.32,0.7,0.48,0.64,0.025;line:#4e5b31,0.68,0.7,0.52,0.64,0.025",
    /* 52 Czech Republic */ "h:w,#d7141a;tri:#11457e,0.5",
    /* 53 Denmark */ "h:#c8102e;nordic:w,0.16",
    /* 54 Djibouti */ "h:#6ab2e7,#12ad2b;tri:w,0.55;star:#d7141a,0.17,0.5,0.09",
    /* 55 Dominica */ "h:#006b3f;plus:#fcd116,0.12;plus:k,0.08;plus:w,0.04;disc:#d41c30,0.5,0.5,0.2;ellipse:#00843d,0.5,0.5,0.05,0.1;starsring:#00843d,0.5,0.5,0.16,10,0.025",
    /* 56 Dominican Republic */ "h:#002d62;rect:#ce1126,0.5,0,1,0.5;rect:#ce1126,0,0.5,0.5,1;plus:w,0.16;rect:#ce1126,0.44,0.44,0.56,0.56",
    /* 57 Ecuador */ "hw:2:#ffdd00,1:#034ea2,1:#ed1c24;ellipse:#8a6d1e,0.5,0.48,0.1,0.13;ellipse:#6ab2e7,0.5,0.48,0.07,0.1",
    /* 58 Egypt */ "h:#ce1126,w,k;poly:#c09300,0.5,0.36,0.58,0.44,0.56,0.62,0.5,0.66,0.44,0.62,0.42,0.44",
    /* 59 El Salvador */ "h:#0047ab,w,#0047ab;poly:#ffcc00,0.5,0.4,0.58,0.58,0.42,0.58;ring:#3a7728,0.5,0.52,0.11,0.02",
    /* 60 England */ "h:w;plus:#ce1124,0.2",
    /* 61 Equatorial Guinea */ "h:#3e9a00,w,#e32118;tri:#0073ce,0.3;rect:#c09300,0.45,0.4,0.55,0.6",
    /* 62 Eritrea */ "h:#12ad2b;rect:#4189dd,0,0.5,1,1;tri:#ea0437,1.0;ring:#ffc726,0.24,0.5,0.13,0.025;line:#ffc726,0.24,0.38,0.24,0.62,0.02",
    /* 63 Estonia */ "h:#0072ce,k,w",
    /* 64 Ethiopia */ "h:#078930,#fcdd09,#da121a;disc:#0f47af,0.5,0.5,0.22;star:#fcdd09,0.5,0.5,0.15",
    /* 65 Fiji */ "h:#68bfe5;ujack:0,0,0.5,0.5;rect:w,0.62,0.36,0.86,0.74;rect:#ce1126,0.62,0.36,0.86,0.46;plus:#ce1126,0.0;line:#ce1126,0.74,0.46,0.74,0.74,0.025;line:#ce1126,0.62,0.6,0.86,0.6,0.025",
    /* 66 Finland */ "h:w;nordic:#002f6c,0.22",
    /* 67 France */ "v:#0055a4,w,#ef4135",
    /* 68 Gabon */ "h:#009e60,#fcd116,#3a75c4",
    /* 69 Gambia */ "hw:6:#ce1126,1:w,4:#0c1c8c,1:w,6:#3a7728",
    /* 70 Georgia */ "h:w;plus:#ff0000,0.2;cross:#ff0000,0.22,0.22,0.1,0.06;cross:#ff0000,0.78,0.22,0.1,0.06;cross:#ff0000,0.22,0.78,0.1,0.06;cross:#ff0000,0.78,0.78,0.1,0.06",
    /* 71 Germany */ "h:k,#dd0000,#ffce00",
    /* 72 Ghana */ "h:#ce1126,#fcd116,#006b3f;star:k,0.5,0.5,0.15",
    /* 73 Gibraltar */ "hw:2:w,1:#da000c;rect:#da000c,0.36,0.24,0.64,0.62;rect:#da000c,0.32,0.18,0.4,0.3;rect:#da000c,0.46,0.14,0.54,0.3;rect:#da000c,0.6,0.18,0.68,0.3;rect:k,0.46,0.46,0.54,0.62;line:#fcd116,0.5,0.66,0.5,0.86,0.02",
    /* 74 Greece */ "h:#0d5eaf,w,#0d5eaf,w,#0d5eaf,w,#0d5eaf,w,#0d5eaf;rect:#0d5eaf,0,0,0.44,0.56;rect:w,0.17,0,0.27,0.56;rect:w,0,0.22,0.44,0.33",
    /* 75 Greenland */ "h:w,#d00c33;disc:#d00c33,0.38,0.5,0.25;poly:w,0.13,0.5,0.63,0.5,0.63,1,0.13,1;ring:w,0,0,0,0;discbottom:w,0.38,0.5,0.25",
    /* 76 Grenada */ "h:#ce1126;rect:#fcd116,0.1,0.14,0.9,0.86;poly:#007a5e,0.1,0.14,0.9,0.14,0.5,0.5;poly:#007a5e,0.1,0.86,0.9,0.86,0.5,0.5;disc:#ce1126,0.5,0.5,0.12;star:#fcd116,0.5,0.5,0.08;star:#fcd116,0.3,0.07,0.05;star:#fcd116,0.5,0.07,0.05;star:#fcd116,0.7,0.07,0.05;star:#fcd116,0.3,0.93,0.05;star:#fcd116,0.5,0.93,0.05;star:#fcd116,0.7,0.93,0.05",
    /* 77 Guadeloupe */ "v:#0055a4,w,#ef4135",
    /* 78 Guam */ "h:#c62139;rect:#00297b,0.06,0.08,0.94,0.92;ellipse:#c62139,0.5,0.5,0.2,0.3;ellipse:#6ab2e7,0.5,0.5,0.17,0.27;rect:#f0d96c,0.34,0.56,0.66,0.76",
    /* 79 Guatemala */ "v:#4997d0,w,#4997d0;ring:#6c8f39,0.5,0.5,0.15,0.025;line:#8a6d1e,0.4,0.6,0.6,0.4,0.02",
    /* 80 Guinea */ "v:#ce1126,#fcd116,#009460",
    /* 81 Guinea-Bissau */ "h:#fcd116,#009e49;rect:#ce1126,0,0,0.35,1;star:k,0.175,0.5,0.12",
    /* 82 Guyana */ "h:#009e49;poly:w,0,0,1,0.5,0,1;poly:#fcd116,0,0.05,0.92,0.5,0,0.95;poly:k,0,0,0.52,0.5,0,1;poly:#ce1126,0,0.05,0.47,0.5,0,0.95",
    /* 83 Haiti */ "h:#00209f,#d21034;rect:w,0.33,0.33,0.67,0.67;rect:#016a16,0.42,0.5,0.58,0.6;line:#00209f,0.5,0.38,0.5,0.5,0.015",
    /* 84 Honduras */ "h:#0073cf,w,#0073cf;star:#0073cf,0.5,0.5,0.05;star:#0073cf,0.35,0.42,0.05;star:#0073cf,0.35,0.58,0.05;star:#0073cf,0.65,0.42,0.05;star:#0073cf,0.65,0.58,0.05",
    /* 85 Hong Kong */ "h:#de2910;star:w,0.5,0.5,0.28,5,0.35;disc:#de2910,0.5,0.5,0.04",
    /* 86 Hungary */ "h:#ce2939,w,#477050",
    /* 87 Iceland */ "h:#02529c;nordic:w,0.26;nordic:#dc1e35,0.13",
    /* 88 India */ "h:#ff9933,w,#138808;ring:#000080,0.5,0.5,0.13,0.02;disc:#000080,0.5,0.5,0.03",
    /* 89 Indonesia */ "h:#ce1126,w",
    /* 90 Iran */ "h:#239f40,w,#da0000;poly:#da0000,0.5,0.4,0.56,0.46,0.54,0.6,0.5,0.56,0.46,0.6,0.44,0.46",
    /* 91 Iraq */ "h:#ce1126,w,k;rect:#007a3d,0.3,0.46,0.7,0.54;rect:#007a3d,0.36,0.4,0.4,0.54;rect:#007a3d,0.6,0.4,0.64,0.54",
    /* 92 Ireland */ "v:#169b62,w,#ff883e",
    /* 93 Isle of Man */ "h:#cf142b;line:w,0.5,0.5,0.5,0.2,0.05;line:w,0.5,0.5,0.24,0.65,0.05;line:w,0.5,0.5,0.76,0.65,0.05;line:w,0.5,0.2,0.64,0.16,0.04;line:w,0.24,0.65,0.22,0.8,0.04;line:w,0.76,0.65,0.9,0.6,0.04;disc:#fcd116,0.5,0.5,0.06",
    /* 94 Israel */ "h:w;rect:#0038b8,0,0.1,1,0.22;rect:#0038b8,0,0.78,1,0.9;star6:#0038b8,0.5,0.5,0.2",
    /* 95 Italy */ "v:#009246,w,#ce2b37",
    /* 96 Jamaica */ "h:#009b3a;poly:k,0,0,0.5,0.5,0,1;poly:k,1,0,0.5,0.5,1,1;saltire:#fed100,0.12",
    /* 97 Japan */ "h:w;disc:#bc002d,0.5,0.5,0.3",
    /* 98 Jordan */ "h:k,w,#007a3d;tri:#ce1126,0.5;star:w,0.17,0.5,0.07,7",
    /* 99 Kazakhstan */ "h:#00afca;sun:#fec50c,0.55,0.42,0.14;poly:#fec50c,0.35,0.72,0.55,0.62,0.75,0.72,0.55,0.68;rect:#fec50c,0.05,0.05,0.1,0.95",
    /* 100 Kenya */ "hw:6:k,1:w,6:#bb0000,1:w,6:#006600;ellipse:k,0.5,0.5,0.13,0.3;ellipse:#bb0000,0.5,0.5,0.08,0.24;line:w,0.5,0.32,0.5,0.68,0.015",
    /* 101 Kiribati */ "hw:10:#ce1126,2:#003f87,1:w,2:#003f87,1:w,2:#003f87;sun:#fcd116,0.5,0.5,0.16;poly:#fcd116,0.3,0.24,0.5,0.3,0.72,0.22,0.55,0.34,0.45,0.34",
    /* 102 Korea, Democratic People's Republic of */ "hw:6:#024fa2,1:w,17:#ed1c27,1:w,6:#024fa2;disc:w,0.35,0.5,0.17;star:#ed1c27,0.35,0.5,0.15",
    /* 103 Korea, Republic of */ "h:w;disc:#cd2e3a,0.5,0.5,0.22;yinyang:#0047a0,0.5,0.5,0.22;rect:k,0.12,0.14,0.26,0.17;rect:k,0.74,0.14,0.88,0.17;rect:k,0.12,0.83,0.26,0.86;rect:k,0.74,0.83,0.88,0.86;rect:k,0.12,0.2,0.26,0.23;rect:k,0.74,0.77,0.88,0.8",
    /* 104 Kuwait */ "h:#007a3d,w,#ce1126;poly:k,0,0,0.3,0.33,0.3,0.67,0,1",
    /* 105 Kyrgyzstan */ "h:#e8112d;sun:#ffef00,0.5,0.5,0.2;ring:#e8112d,0.5,0.5,0.1,0.02",
    /* 106 Laos */ "hw:1:#ce1126,2:#002868,1:#ce1126;disc:w,0.5,0.5,0.2",
    /* 107 Latvia */ "hw:2:#9e3039,1:w,2:#9e3039",
    /* 108 Lebanon */ "hw:1:#ed1c24,2:w,1:#ed1c24;poly:#00a651,0.5,0.3,0.68,0.62,0.54,0.58,0.54,0.7,0.46,0.7,0.46,0.58,0.32,0.62",
    /* 109 Lesotho */ "hw:3:#00209f,4:w,3:#009543;poly:k,0.5,0.34,0.64,0.58,0.36,0.58",
    /* 110 Liberia */ "h:#bf0a30,w,#bf0a30,w,#bf0a30,w,#bf0a30,w,#bf0a30,w,#bf0a30;rect:#002868,0,0,0.46,0.46;star:w,0.23,0.23,0.14",
    /* 111 Libya */ "hw:1:#e70013,2:k,1:#239e46;crescent:w,0.48,0.5,0.13;star:w,0.56,0.5,0.06",
    /* 112 Liechtenstein */ "h:#002b7f,#ce1126;poly:#ffd83d,0.18,0.32,0.22,0.16,0.28,0.24,0.32,0.12,0.36,0.24,0.42,0.16,0.46,0.32",
    /* 113 Lithuania */ "h:#fdb913,#006a44,#c1272d",
    /* 114 Luxembourg */ "h:#ed2939,w,#00a1de",
    /* 115 Macao */ "h:#00785e;poly:w,0.3,0.6,0.5,0.36,0.7,0.6,0.5,0.66;rect:w,0.3,0.7,0.7,0.73;star:#fbd116,0.5,0.22,0.08;star:#fbd116,0.32,0.3,0.05;star:#fbd116,0.68,0.3,0.05",
    /* 116 Macedonia */ "h:#d20000;poly:#ffe600,0.42,0,0.58,0,0.5,0.5;poly:#ffe600,0.42,1,0.58,1,0.5,0.5;poly:#ffe600,0,0.42,0,0.58,0.5,0.5;poly:#ffe600,1,0.42,1,0.58,0.5,0.5;poly:#ffe600,0,0,0.12,0,0.5,0.5,0,0.12;poly:#ffe600,1,0,1,0.12,0.5,0.5,0.88,0;poly:#ffe600,0,1,0,0.88,0.5,0.5,0.12,1;poly:#ffe600,1,1,0.88,1,0.5,0.5,1,0.88;disc:#d20000,0.5,0.5,0.16;disc:#ffe600,0.5,0.5,0.13",
    /* 117 Madagascar */ "h:#fc3d32,#007e3a;rect:w,0,0,0.36,1",
    /* 118 Malawi */ "h:k,#ce1126,#339e35;sun:#ce1126,0.5,0.3,0.12",
    /* 119 Malaysia */ "h:#cc0001,w,#cc0001,w,#cc0001,w,#cc0001,w,#cc0001,w,#cc0001,w,#cc0001,w;rect:#010066,0,0,0.5,0.57;crescent:#ffcc00,0.2,0.28,0.17;star:#ffcc00,0.33,0.28,0.09,14,0.45",
    /* 120 Maldives */ "h:#d21034;rect:#007e3a,0.2,0.2,0.8,0.8;crescent:w,0.48,0.5,0.17",
    /* 121 Mali */ "v:#14b53a,#fcd116,#ce1126",
    /* 122 Malta */ "v:w,#cf142b;rect:#a0a0a0,0.1,0.06,0.26,0.2;cross:#c0c0c0,0.18,0.14,0.06,0.06",
    /* 123 Marshall Islands */ "h:#003893;poly:#dd7500,0,1,1,0.1,1,0.22,0,1;poly:w,0,1,1,0.22,1,0.32,0,1;star:w,0.25,0.25,0.14,24,0.5",
    /* 124 Martinique */ "v:#0055a4,w,#ef4135",
    /* 125 Mauritania */ "hw:1:#d01c1f,4:#00a95c,1:#d01c1f;crescent_up:#ffd700,0.5,0.45,0.2;star:#ffd700,0.5,0.36,0.07",
    /* 126 Mauritius */ "h:#ea2839,#1a206d,#ffd500,#00a551",
    /* 127 Mexico */ "v:#006847,w,#ce1126;ellipse:#8c5a2b,0.5,0.48,0.08,0.1;line:#3a7728,0.4,0.6,0.6,0.6,0.02",
    /* 128 Micronesia */ "h:#75b2dd;star:w,0.5,0.22,0.09;star:w,0.5,0.78,0.09;star:w,0.26,0.5,0.09;star:w,0.74,0.5,0.09",
    /* 129 Moldova */ "v:#0046ae,#ffd200,#cc092f;rect:#8c5a2b,0.43,0.36,0.57,0.64;rect:#cc092f,0.45,0.44,0.55,0.62",
    /* 130 Monaco */ "h:#ce1126,w",
    /* 131 Mongolia */ "v:#c4272f,#015197,#c4272f;disc:#f9cf02,0.17,0.22,0.05;rect:#f9cf02,0.12,0.3,0.22,0.33;disc:#f9cf02,0.17,0.46,0.06;rect:#f9cf02,0.12,0.56,0.22,0.59;rect:#f9cf02,0.1,0.34,0.12,0.8;rect:#f9cf02,0.22,0.34,0.24,0.8",
    /* 132 Montenegro */ "h:#c40308;rect:#d4af3a,0,0,1,0.06;rect:#d4af3a,0,0.94,1,1;rect:#d4af3a,0,0,0.06,1;rect:#d4af3a,0.94,0,1,1;poly:#d4af3a,0.5,0.26,0.6,0.34,0.78,0.3,0.66,0.46,0.58,0.62,0.5,0.72,0.42,0.62,0.34,0.46,0.22,0.3,0.4,0.34",
    /* 133 Montserrat */ "h:#012169;ujack:0,0,0.5,0.5;rect:#00a2bd,0.62,0.36,0.86,0.72;rect:#8c5a2b,0.7,0.5,0.78,0.66;disc:#00843d,0.74,0.66,0.06",
    /* 134 Morocco */ "h:#c1272d;starline:#006233,0.5,0.5,0.22",
    /* 135 Mozambique */ "hw:7:#007168,1:w,7:k,1:w,7:#fce100;tri:#d21034,0.5;star:#fce100,0.17,0.5,0.11",
    /* 136 Myanmar */ "h:#fecb00,#34b233,#ea2839;star:w,0.5,0.55,0.3",
    /* 137 Namibia */ "h:#009543;poly:#003580,0,0,1,0,0,1;poly:w,0,0.85,0.85,0,1,0,1,0.15,0.15,1,0,1;poly:#d21034,0,0.92,0.92,0,1,0,1,0.08,0.08,1,0,1;sun:#ffce00,0.22,0.22,0.1",
    /* 138 Nauru */ "h:#002b7f;rect:#ffc61e,0,0.46,1,0.54;star:w,0.28,0.72,0.1,12,0.5",
    /* 139 Nepal */ "poly:#003893,0.05,0,0.85,0.5,0.36,0.5,0.85,1,0.05,1;poly:#dc143c,0.09,0.07,0.73,0.46,0.26,0.46,0.75,0.95,0.09,0.95;crescent_up:w,0.27,0.33,0.08;sun:w,0.27,0.74,0.08",
    /* 140 Netherlands */ "h:#ae1c28,w,#21468b",
    /* 141 Netherlands Antilles */ "h:w;rect:#ed2939,0.44,0,0.56,1;rect:#012a87,0,0.42,1,0.58;star:w,0.3,0.5,0.04;star:w,0.38,0.46,0.04;star:w,0.62,0.54,0.04;star:w,0.7,0.5,0.04",
    /* 142 New Caledonia */ "h:#0035ad,#ed4135,#009543;disc:#fae600,0.38,0.5,0.26;line:k,0.38,0.3,0.38,0.7,0.04",
    /* 143 New Zealand */ "h:#00247d;ujack:0,0,0.5,0.5;star:w,0.76,0.2,0.075;star:#cc142b,0.76,0.2,0.05;star:w,0.66,0.45,0.075;star:#cc142b,0.66,0.45,0.05;star:w,0.86,0.42,0.065;star:#cc142b,0.86,0.42,0.042;star:w,0.76,0.8,0.085;star:#cc142b,0.76,0.8,0.058",
    /* 144 Nicaragua */ "h:#0067c6,w,#0067c6;poly:#0067c6,0.5,0.4,0.58,0.58,0.42,0.58;ring:#c8a200,0.5,0.52,0.11,0.015",
    /* 145 Niger */ "h:#e05206,w,#0db02b;disc:#e05206,0.5,0.5,0.12",
    /* 146 Nigeria */ "v:#008753,w,#008753",
    /* 147 Northern Ireland */ "h:w;plus:#cf142b,0.18;star:w,0.5,0.5,0.2,6,0.55;disc:#cf142b,0.5,0.52,0.07;poly:#e6b800,0.42,0.26,0.58,0.26,0.6,0.18,0.54,0.22,0.5,0.14,0.46,0.22,0.4,0.18",
    /* 148 Norway */ "h:#ba0c2f;nordic:w,0.26;nordic:#00205b,0.13",
    /* 149 Oman */ "h:w,#c8102e,#008000;rect:#c8102e,0,0,0.3,1;line:w,0.08,0.08,0.22,0.24,0.025;line:w,0.22,0.08,0.08,0.24,0.025;rect:w,0.14,0.06,0.16,0.26",
    /* 150 Pakistan */ "h:#01411c;rect:w,0,0,0.25,1;crescent_tilt:w,0.62,0.5,0.25;star:w,0.72,0.38,0.08",
    /* 151 Palau */ "h:#4aadd6;disc:#ffde00,0.42,0.5,0.27",
    /* 152 Palestineian Territory, Occupied */ "h:k,w,#007a3d;tri:#ce1126,0.45",
    /* 153 Panama */ "h:w;rect:#d21034,0.5,0,1,0.5;rect:#005293,0,0.5,0.5,1;star:#005293,0.25,0.25,0.12;star:#d21034,0.75,0.75,0.12",
    /* 154 Papua New Guinea */ "poly:#ce1126,0,0,1,0,1,1;poly:k,0,0,1,1,0,1;poly:#fcd116,0.6,0.2,0.8,0.28,0.86,0.18,0.78,0.38,0.66,0.34;star:w,0.24,0.55,0.05;star:w,0.34,0.66,0.04;star:w,0.16,0.68,0.04;star:w,0.26,0.82,0.05",
    /* 155 Paraguay */ "h:#d52b1e,w,#0038a8;ring:#3a7728,0.5,0.5,0.12,0.02;star:#fcd116,0.5,0.5,0.05",
    /* 156 Peru */ "v:#d91023,w,#d91023",
    /* 157 Philippines */ "h:#0038a8,#ce1126;tri:w,0.55;sun:#fcd116,0.2,0.5,0.09;star:#fcd116,0.07,0.13,0.05;star:#fcd116,0.07,0.87,0.05;star:#fcd116,0.44,0.5,0.05",
    /* 158 Poland */ "h:w,#dc143c",
    /* 159 Portugal */ "vw:2:#006600,3:#ff0000;ring:#ffcc00,0.4,0.5,0.18,0.035;rect:w,0.33,0.4,0.47,0.62;rect:#ff0000,0.35,0.42,0.45,0.6",
    /* 160 Puerto Rico */ "h:#ed0000,w,#ed0000,w,#ed0000;tri:#0050f0,0.5;star:w,0.17,0.5,0.1",
    /* 161 Qatar */ "h:#8a1538;poly:w,0,0,0.3,0,0.4,0.055,0.3,0.11,0.4,0.165,0.3,0.22,0.4,0.275,0.3,0.33,0.4,0.385,0.3,0.44,0.4,0.5,0.3,0.56,0.4,0.615,0.3,0.67,0.4,0.725,0.3,0.78,0.4,0.835,0.3,0.89,0.4,0.945,0.3,1,0,1",
    /* 162 Reunion */ "h:#0053a5;poly:#e30000,0,1,1,1,0.5,0.55;poly:#ffe100,0.5,0.55,0.05,0,0.2,0;poly:#ffe100,0.5,0.55,0.4,0,0.6,0;poly:#ffe100,0.5,0.55,0.8,0,0.95,0",
    /* 163 Romania */ "v:#002b7f,#fcd116,#ce1126",
    /* 164 Russian Federation */ "h:w,#0039a6,#d52b1e",
    /* 165 Rwanda */ "hw:2:#00a1de,1:#fad201,1:#20603d;sun:#fad201,0.78,0.24,0.1",
    /* 166 St Kitts & Nevis */ "poly:#009e49,0,0,1,0,0,1;poly:#ce1126,1,0,1,1,0,1;poly:#fcd116,0,0.82,0.82,0,1,0,1,0.18,0.18,1,0,1;poly:k,0,0.95,0.95,0,1,0,1,0.05,0.05,1,0,1;line:k,0,1,1,0,0.14;star:w,0.36,0.64,0.06;star:w,0.64,0.36,0.06",
    /* 167 St Lucia */ "h:#65cfff;poly:w,0.5,0.12,0.76,0.88,0.24,0.88;poly:k,0.5,0.2,0.7,0.88,0.3,0.88;poly:#fcd116,0.5,0.5,0.76,0.88,0.24,0.88",
    /* 168 St Vincent & The Grenadines */ "vw:1:#002674,2:#fcd022,1:#009e60;diamond:#009e60,0.42,0.38,0.07;diamond:#009e60,0.58,0.38,0.07;diamond:#009e60,0.5,0.58,0.07",
    /* 169 Samoa */ "h:#ce1126;rect:#002b7f,0,0,0.5,0.5;star:w,0.25,0.1,0.05;star:w,0.35,0.22,0.05;star:w,0.17,0.24,0.05;star:w,0.28,0.38,0.05;star:w,0.23,0.27,0.03",
    /* 170 San Marino */ "h:w,#5eb6e4;ellipse:#dfae2c,0.5,0.5,0.1,0.13;rect:w,0.45,0.42,0.55,0.56",
    /* 171 Sao Tome & Principe */ "hw:2:#12ad2b,3:#ffce00,2:#12ad2b;tri:#d21034,0.3;star:k,0.48,0.5,0.08;star:k,0.72,0.5,0.08",
    /* 172 Saudi Arabia */ "h:#006c35;rect:w,0.22,0.3,0.78,0.33;rect:w,0.26,0.38,0.74,0.41;rect:w,0.3,0.46,0.7,0.48;line:w,0.22,0.64,0.78,0.64,0.02;poly:w,0.78,0.6,0.82,0.64,0.78,0.68",
    /* 173 Scotland */ "h:#005eb8;saltire:w,0.18",
    /* 174 Senegal */ "v:#00853f,#fdef42,#e31b23;star:#00853f,0.5,0.5,0.12",
    /* 175 Serbia */ "h:#c6363c,#0c4076,w;rect:#c6363c,0.24,0.24,0.4,0.6;rect:#eddcb5,0.29,0.3,0.35,0.54",
    /* 176 Seychelles */ "poly:#003f87,0,1,0,0,0.33,0;poly:#fcd856,0,1,0.33,0,0.67,0;poly:#d62828,0,1,0.67,0,1,0,1,0.33;poly:w,0,1,1,0.33,1,0.67;poly:#007a3d,0,1,1,0.67,1,1",
    /* 177 Sierra Leone */ "h:#1eb53a,w,#0072c6",
    /* 178 Singapore */ "h:#ef3340,w;crescent:w,0.22,0.25,0.15;star:w,0.35,0.15,0.035;star:w,0.42,0.25,0.035;star:w,0.28,0.25,0.035;star:w,0.32,0.36,0.035;star:w,0.4,0.36,0.035",
    /* 179 Slovakia */ "h:w,#0b4ea2,#ee1c25;rect:w,0.22,0.24,0.46,0.72;rect:#ee1c25,0.24,0.26,0.44,0.7;rect:w,0.32,0.3,0.36,0.6;rect:w,0.27,0.38,0.41,0.42;rect:#0b4ea2,0.24,0.6,0.44,0.7",
    /* 180 Slovenia */ "h:w,#0000ff,#ff0000;rect:#ff0000,0.22,0.18,0.42,0.48;rect:#0000ff,0.24,0.2,0.4,0.46;poly:w,0.24,0.42,0.3,0.32,0.32,0.36,0.34,0.3,0.4,0.42",
    /* 181 Solomon Islands */ "poly:#0051ba,0,0,1,0,0,1;poly:#215b33,1,0,1,1,0,1;line:#fcd116,0,1,1,0,0.06;star:w,0.14,0.14,0.05;star:w,0.3,0.14,0.05;star:w,0.22,0.26,0.05;star:w,0.14,0.38,0.05;star:w,0.3,0.38,0.05",
    /* 182 Somalia */ "h:#4189dd;star:w,0.5,0.5,0.24",
    /* 183 South Africa */ "h:#e03c31,#001489;poly:w,0,0,0.24,0,0.58,0.4,1,0.4,1,0.6,0.58,0.6,0.24,1,0,1;poly:#007749,0,0.08,0.14,0,0.2,0,0.55,0.45,1,0.45,1,0.55,0.55,0.55,0.2,1,0.14,1,0,0.92;poly:#ffb81c,0,0.16,0.44,0.5,0,0.84;poly:k,0,0.24,0.34,0.5,0,0.76",
    /* 184 Spain */ "hw:1:#aa151b,2:#f1bf00,1:#aa151b;rect:#aa151b,0.26,0.38,0.38,0.6;rect:#ad9c74,0.24,0.34,0.4,0.38",
    /* 185 Sri Lanka */ "h:#ffbe29;rect:#00534e,0.06,0.08,0.2,0.92;rect:#eb7400,0.2,0.08,0.34,0.92;rect:#8d153a,0.38,0.08,0.94,0.92;poly:#ffbe29,0.55,0.7,0.6,0.4,0.75,0.32,0.8,0.5,0.72,0.7",
    /* 186 Sudan */ "h:#d21034,w,k;tri:#007229,0.4",
    /* 187 Suriname */ "hw:2:#377e3f,1:w,4:#b40a2d,1:w,2:#377e3f;star:#ecc81d,0.5,0.5,0.16",
    /* 188 Swaziland */ "hw:3:#3e5eb9,1:#ffd900,7:#b10c0c,1:#ffd900,3:#3e5eb9;ellipse:w,0.5,0.5,0.26,0.12;poly:k,0.5,0.38,0.76,0.5,0.5,0.62",
    /* 189 Sweden */ "h:#006aa7;nordic:#fecc00,0.18",
    /* 190 Switzerland */ "h:#da291c;rect:w,0.41,0.2,0.59,0.8;rect:w,0.2,0.41,0.8,0.59",
    /* 191 Syria */ "h:#ce1126,w,k;star:#007a3d,0.34,0.5,0.09;star:#007a3d,0.66,0.5,0.09",
    /* 192 Taiwan */ "h:#fe0000;rect:#000095,0,0,0.5,0.5;sun:w,0.25,0.25,0.1",
    /* 193 Tajikistan */ "hw:2:#cc0000,3:w,2:#006600;poly:#f8c300,0.42,0.56,0.58,0.56,0.56,0.48,0.5,0.52,0.44,0.48;star:#f8c300,0.5,0.38,0.03;star:#f8c300,0.38,0.42,0.03;star:#f8c300,0.62,0.42,0.03",
    /* 194 Tanzania */ "poly:#1eb53a,0,0,1,0,0,1;poly:#00a3dd,1,0,1,1,0,1;line:#fcd116,0,1,1,0,0.22;line:k,0,1,1,0,0.15",
    /* 195 Thailand */ "hw:1:#a51931,1:#f4f5f8,2:#2d2a4a,1:#f4f5f8,1:#a51931",
    /* 196 Timor-Leste */ "h:#dc241f;tri:#ffc726,0.6;tri:k,0.35;star:w,0.13,0.5,0.09",
    /* 197 Togo */ "h:#006a4e,#ffce00,#006a4e,#ffce00,#006a4e;rect:#d21034,0,0,0.44,0.6;star:w,0.22,0.3,0.14",
    /* 198 Tonga */ "h:#c10000;rect:w,0,0,0.45,0.5;rect:#c10000,0.19,0.08,0.27,0.42;rect:#c10000,0.08,0.21,0.37,0.29",
    /* 199 Trinidad & Tobago */ "h:#da1a35;line:w,0,0,1,1,0.2;line:k,0,0,1,1,0.14",
    /* 200 Tunisia */ "h:#e70013;disc:w,0.5,0.5,0.24;crescent:#e70013,0.48,0.5,0.17;star:#e70013,0.55,0.5,0.08",
    /* 201 Turkey */ "h:#e30a17;crescent:w,0.4,0.5,0.24;star:w,0.6,0.5,0.1",
    /* 202 Turkmenistan */ "h:#28ae66;rect:#ca3745,0.15,0,0.33,1;rect:#faae42,0.2,0.1,0.28,0.9;crescent:w,0.52,0.26,0.12;star:w,0.6,0.16,0.03;star:w,0.66,0.24,0.03;star:w,0.66,0.34,0.03",
    /* 203 Turks & Caicos Islands */ "h:#012169;ujack:0,0,0.5,0.5;rect:#fcd116,0.62,0.36,0.86,0.72;disc:#e8a2b4,0.68,0.5,0.04;disc:#00843d,0.8,0.56,0.04",
    /* 204 Tuvalu */ "h:#5b97b1;ujack:0,0,0.5,0.5;star:#ffce00,0.62,0.7,0.05;star:#ffce00,0.7,0.55,0.05;star:#ffce00,0.78,0.8,0.05;star:#ffce00,0.86,0.4,0.05;star:#ffce00,0.9,0.65,0.05;star:#ffce00,0.7,0.9,0.05",
    /* 205 Uganda */ "h:k,#fcdc04,#d90000,k,#fcdc04,#d90000;disc:w,0.5,0.5,0.2;poly:k,0.48,0.35,0.56,0.4,0.52,0.6,0.44,0.6",
    /* 206 Ukraine */ "h:#0057b7,#ffd700",
    /* 207 United Arab Emirates */ "h:#00732f,w,k;rect:#ff0000,0,0,0.27,1",
    /* 208 United States */ "h:#b22234,w,#b22234,w,#b22234,w,#b22234,w,#b22234,w,#b22234,w,#b22234;rect:#3c3b6e,0,0,0.5,0.54;dots:w,0.04,0.05,0.46,0.5,5,4",
    /* 209 Uruguay */ "h:w,#0038a8,w,#0038a8,w,#0038a8,w,#0038a8,w;rect:w,0,0,0.44,0.56;sun:#fcd116,0.22,0.28,0.1",
    /* 210 Uzbekistan */ "hw:10:#0099b5,1:#ce1126,10:w,1:#ce1126,10:#1eb53a;crescent:w,0.18,0.16,0.1;star:w,0.34,0.08,0.025;star:w,0.42,0.08,0.025;star:w,0.34,0.2,0.025;star:w,0.42,0.2,0.025",
    /* 211 Vanuatu */ "h:#d21034,#009543;poly:k,0,0,0.5,0.5,0,1;line:k,0.3,0.5,1,0.5,0.16;line:#fdce12,0,0.05,0.48,0.5,0.03;line:#fdce12,0,0.95,0.48,0.5,0.03;line:#fdce12,0.48,0.5,1,0.5,0.03;ring:#fdce12,0.18,0.5,0.09,0.02",
    /* 212 Vatican City */ "v:#ffe000,w;line:#b0b0b0,0.6,0.4,0.86,0.7,0.03;line:#ffe000,0.86,0.4,0.6,0.7,0.03;poly:#ffe000,0.68,0.22,0.78,0.22,0.76,0.34,0.7,0.34",
    /* 213 Venezuela */ "h:#ffcc00,#00247d,#cf142b;starsarc:w,0.5,0.62,0.22,8,0.035",
    /* 214 Viet Nam */ "h:#da251d;star:#ffff00,0.5,0.5,0.3",
    /* 215 Virgin Islands, British */ "h:#012169;ujack:0,0,0.5,0.5;rect:#00843d,0.62,0.34,0.86,0.72;rect:w,0.7,0.44,0.78,0.6;rect:#fcd116,0.62,0.34,0.86,0.38",
    /* 216 Virgin Islands, U.S. */ "h:w;poly:#f4c300,0.5,0.3,0.68,0.4,0.62,0.6,0.5,0.66,0.38,0.6,0.32,0.4;rect:#162d66,0.44,0.42,0.56,0.56;line:#162d66,0.1,0.35,0.16,0.6,0.025;line:#162d66,0.22,0.35,0.16,0.6,0.025;line:#162d66,0.84,0.35,0.84,0.6,0.025",
    /* 217 Wales */ "h:w,#00b140;poly:#d30731,0.2,0.6,0.3,0.4,0.45,0.38,0.55,0.25,0.62,0.32,0.58,0.42,0.72,0.4,0.82,0.5,0.75,0.58,0.82,0.72,0.7,0.64,0.5,0.7,0.35,0.78",
    /* 218 Western Sahara */ "h:k,w,#007a3d;tri:#c4111b,0.4;crescent:#c4111b,0.52,0.5,0.12;star:#c4111b,0.6,0.5,0.06",
    /* 219 Yemen */ "h:#ce1126,w,k",
    /* 220 Zambia */ "h:#198a00;rect:#de2010,0.58,0.4,0.7,1;rect:k,0.7,0.4,0.82,1;rect:#ef7d00,0.82,0.4,0.94,1;poly:#ef7d00,0.62,0.26,0.76,0.16,0.9,0.26,0.76,0.3",
    /* 221 Zimbabwe */ "h:#006400,#ffd200,#d40000,k,#d40000,#ffd200,#006400;poly:k,0,0,0.52,0.5,0,1;poly:w,0,0.04,0.46,0.5,0,0.96;star:#d40000,0.17,0.5,0.1;poly:#ffd200,0.14,0.44,0.2,0.42,0.2,0.58,0.14,0.56",
    /* 222 unused */ "",
    /* 223 United Kingdom */ "h:#012169;ujack:0,0,1,1",
};

DgColour FlagColour(const std::string &name)
{
    if (name.size() == 7 && name[0] == '#')
        return ColourHex((uint32_t)std::strtoul(name.c_str() + 1, nullptr, 16));
    switch (name.empty() ? 'w' : name[0])
    {
    case 'k':
        return ColourHex(0x000000);
    case 'r':
        return ColourHex(0xd52b1e);
    case 'g':
        return ColourHex(0x009a44);
    case 'b':
        return ColourHex(0x0038a8);
    case 'y':
        return ColourHex(0xfcd116);
    case 'o':
        return ColourHex(0xff8200);
    default:
        return ColourHex(0xffffff);
    }
}

std::vector<std::string> Split(const std::string &text, char sep)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, sep))
        parts.push_back(part);
    return parts;
}

float Num(const std::vector<std::string> &args, size_t i, float fallback = 0.0f)
{
    return i < args.size() ? std::strtof(args[i].c_str(), nullptr) : fallback;
}

// Draws one flag (a program of the table) into a square of `size` pixels at (ox, oy).
void DrawFlag(DgImage &img, const std::string &program, float ox, float oy, float size)
{
    auto X = [&](float u) { return ox + u * size; };
    auto Y = [&](float v) { return oy + v * size; };
    auto fill = [&](const DgShape &shape, const DgColour &c) {
        ImageFillShape(img, shape, PaintSolid(c), ox, oy, ox + size, oy + size);
    };
    DgShape cell = ShapeRoundRect(ox, oy, size, size, 0.0f);
    auto clipped = [&](const DgShape &shape) { return ShapeIntersect(shape, cell); };
    auto stripes = [&](const std::vector<std::pair<float, DgColour>> &bands, bool vertical) {
        float total = 0.0f;
        for (const auto &b : bands)
            total += b.first;
        float at = 0.0f;
        for (const auto &b : bands)
        {
            float a = at / total, z = (at + b.first) / total;
            if (vertical)
                fill(ShapeRoundRect(X(a), oy, (z - a) * size, size, 0), b.second);
            else
                fill(ShapeRoundRect(ox, Y(a), size, (z - a) * size, 0), b.second);
            at += b.first;
        }
    };
    auto star = [&](const DgColour &c, float cx, float cy, float r, int points, float inner) {
        fill(clipped(ShapeStar(X(cx), Y(cy), r * size, r * size * inner, points)), c);
    };
    auto unionJack = [&](float x0, float y0, float x1, float y1) {
        float w = (x1 - x0) * size, h = (y1 - y0) * size;
        DgShape area = ShapeRoundRect(X(x0), Y(y0), w, h, 0);
        fill(area, ColourHex(0x012169));
        float t = std::min(w, h);
        fill(ShapeIntersect(area, ShapeSegment(X(x0), Y(y0), X(x1), Y(y1), t * 0.1f)), ColourRgb(1, 1, 1));
        fill(ShapeIntersect(area, ShapeSegment(X(x0), Y(y1), X(x1), Y(y0), t * 0.1f)), ColourRgb(1, 1, 1));
        fill(ShapeIntersect(area, ShapeSegment(X(x0), Y(y0), X(x1), Y(y1), t * 0.035f)), ColourHex(0xc8102e));
        fill(ShapeIntersect(area, ShapeSegment(X(x0), Y(y1), X(x1), Y(y0), t * 0.035f)), ColourHex(0xc8102e));
        float cx = X((x0 + x1) * 0.5f), cy = Y((y0 + y1) * 0.5f);
        fill(ShapeIntersect(area, ShapeUnion(ShapeRoundRect(cx - t * 0.17f, Y(y0), t * 0.34f, h, 0),
                                             ShapeRoundRect(X(x0), cy - t * 0.17f, w, t * 0.34f, 0))),
             ColourRgb(1, 1, 1));
        fill(ShapeIntersect(area, ShapeUnion(ShapeRoundRect(cx - t * 0.1f, Y(y0), t * 0.2f, h, 0),
                                             ShapeRoundRect(X(x0), cy - t * 0.1f, w, t * 0.2f, 0))),
             ColourHex(0xc8102e));
    };
    for (const std::string &command : Split(program, ';'))
    {
        size_t colon = command.find(':');
        if (colon == std::string::npos)
            continue;
        std::string op = command.substr(0, colon);
        std::vector<std::string> args = Split(command.substr(colon + 1), ',');
        DgColour c = args.empty() ? ColourRgb(1, 1, 1) : FlagColour(args[0]);
        if (op == "h" || op == "v")
        {
            std::vector<std::pair<float, DgColour>> bands;
            for (const std::string &a : args)
                bands.push_back({1.0f, FlagColour(a)});
            stripes(bands, op == "v");
        }
        else if (op == "hw" || op == "vw")
        {
            std::vector<std::pair<float, DgColour>> bands;
            for (const std::string &a : args)
            {
                std::vector<std::string> wc = Split(a, ':');
                if (wc.size() == 2)
                    bands.push_back({std::strtof(wc[0].c_str(), nullptr), FlagColour(wc[1])});
            }
            stripes(bands, op == "vw");
        }
        else if (op == "rect")
            fill(ShapeRoundRect(X(Num(args, 1)), Y(Num(args, 2)), (Num(args, 3) - Num(args, 1)) * size,
                                (Num(args, 4) - Num(args, 2)) * size, 0),
                 c);
        else if (op == "poly")
        {
            std::vector<std::pair<float, float>> pts;
            float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
            for (size_t i = 1; i + 1 < args.size(); i += 2)
            {
                pts.push_back({X(Num(args, i)), Y(Num(args, i + 1))});
                x0 = std::min(x0, pts.back().first), x1 = std::max(x1, pts.back().first);
                y0 = std::min(y0, pts.back().second), y1 = std::max(y1, pts.back().second);
            }
            ImageFillShape(img, clipped(ShapePolygon(pts)), PaintSolid(c), std::max(x0, ox), std::max(y0, oy),
                           std::min(x1, ox + size), std::min(y1, oy + size));
        }
        else if (op == "disc")
            fill(clipped(ShapeCircle(X(Num(args, 1)), Y(Num(args, 2)), Num(args, 3) * size)), c);
        else if (op == "discbottom")
            fill(clipped(ShapeIntersect(ShapeCircle(X(Num(args, 1)), Y(Num(args, 2)), Num(args, 3) * size),
                                        ShapeRoundRect(ox, Y(Num(args, 2)), size, size, 0))),
                 c);
        else if (op == "ring")
        {
            if (Num(args, 3) > 0.0f)
                fill(clipped(ShapeOutline(ShapeCircle(X(Num(args, 1)), Y(Num(args, 2)), Num(args, 3) * size), Num(args, 4) * size)), c);
        }
        else if (op == "ellipse")
            fill(clipped(ShapeEllipse(X(Num(args, 1)), Y(Num(args, 2)), Num(args, 3) * size, Num(args, 4) * size)), c);
        else if (op == "diamond")
        {
            float cx = Num(args, 1), cy = Num(args, 2), r = Num(args, 3);
            fill(ShapePolygon({{X(cx), Y(cy - r)}, {X(cx + r * 0.7f), Y(cy)}, {X(cx), Y(cy + r)}, {X(cx - r * 0.7f), Y(cy)}}), c);
        }
        else if (op == "star")
            star(c, Num(args, 1), Num(args, 2), Num(args, 3), (int)Num(args, 4, 5), Num(args, 5, 0.4f));
        else if (op == "star6")
        {
            float cx = X(Num(args, 1)), cy = Y(Num(args, 2)), r = Num(args, 3) * size;
            DgShape up = ShapePolygon({{cx, cy - r}, {cx + r * 0.866f, cy + r * 0.5f}, {cx - r * 0.866f, cy + r * 0.5f}});
            DgShape down = ShapePolygon({{cx, cy + r}, {cx + r * 0.866f, cy - r * 0.5f}, {cx - r * 0.866f, cy - r * 0.5f}});
            fill(ShapeOutline(up, size * 0.02f), c);
            fill(ShapeOutline(down, size * 0.02f), c);
        }
        else if (op == "starline")
        {
            float cx = X(Num(args, 1)), cy = Y(Num(args, 2)), r = Num(args, 3) * size;
            std::vector<std::pair<float, float>> pts;
            for (int k = 0; k < 6; k++)
            {
                int i = (k * 2) % 5;
                float a = i * 6.2831853f / 5.0f;
                pts.push_back({cx + std::sin(a) * r, cy - std::cos(a) * r});
            }
            for (int k = 0; k < 5; k++)
                fill(ShapeSegment(pts[k].first, pts[k].second, pts[k + 1].first, pts[k + 1].second, size * 0.025f), c);
        }
        else if (op == "crescent" || op == "crescent_up" || op == "crescent_tilt")
        {
            float cx = X(Num(args, 1)), cy = Y(Num(args, 2)), r = Num(args, 3) * size;
            float dx = r * 0.28f, dy = 0.0f;
            if (op == "crescent_up")
                dx = 0.0f, dy = -r * 0.28f;
            if (op == "crescent_tilt")
                dx = r * 0.2f, dy = -r * 0.2f;
            fill(clipped(ShapeSubtract(ShapeCircle(cx, cy, r), ShapeCircle(cx + dx, cy + dy, r * 0.82f))), c);
        }
        else if (op == "yinyang")
        {
            float cx = X(Num(args, 1)), cy = Y(Num(args, 2)), r = Num(args, 3) * size;
            DgShape lower = ShapeIntersect(ShapeCircle(cx, cy, r), ShapeRoundRect(cx - r, cy, 2 * r, r, 0));
            DgShape shape = ShapeSubtract(ShapeUnion(lower, ShapeCircle(cx + r * 0.5f, cy, r * 0.5f)), ShapeCircle(cx - r * 0.5f, cy, r * 0.5f));
            fill(shape, c);
        }
        else if (op == "nordic")
        {
            float w = Num(args, 1) * size, cx = X(Num(args, 2, 0.36f));
            fill(ShapeRoundRect(cx - w * 0.5f, oy, w, size, 0), c);
            fill(ShapeRoundRect(ox, oy + size * 0.5f - w * 0.5f, size, w, 0), c);
        }
        else if (op == "plus")
        {
            float w = Num(args, 1) * size;
            if (w > 0.0f)
            {
                fill(ShapeRoundRect(ox + size * 0.5f - w * 0.5f, oy, w, size, 0), c);
                fill(ShapeRoundRect(ox, oy + size * 0.5f - w * 0.5f, size, w, 0), c);
            }
        }
        else if (op == "cross")
        {
            float cx = Num(args, 1), cy = Num(args, 2), arm = Num(args, 3), w = Num(args, 4);
            fill(ShapeRoundRect(X(cx - w * 0.5f), Y(cy - arm), size * w, size * arm * 2.0f, 0), c);
            fill(ShapeRoundRect(X(cx - arm), Y(cy - w * 0.5f), size * arm * 2.0f, size * w, 0), c);
        }
        else if (op == "saltire")
        {
            float w = Num(args, 1) * size * 0.5f;
            fill(clipped(ShapeSegment(ox - size, oy - size, ox + 2 * size, oy + 2 * size, w)), c);
            fill(clipped(ShapeSegment(ox - size, oy + 2 * size, ox + 2 * size, oy - size, w)), c);
        }
        else if (op == "tri")
            fill(ShapePolygon({{ox, oy}, {X(Num(args, 1)), Y(0.5f)}, {ox, oy + size}}), c);
        else if (op == "sun")
        {
            float cx = X(Num(args, 1)), cy = Y(Num(args, 2)), r = Num(args, 3) * size;
            fill(clipped(ShapeStar(cx, cy, r * 1.5f, r * 0.9f, 12)), c);
            fill(ShapeCircle(cx, cy, r), c);
        }
        else if (op == "ujack")
            unionJack(Num(args, 0), Num(args, 1), Num(args, 2), Num(args, 3));
        else if (op == "checker")
        {
            DgColour c2 = FlagColour(args.size() > 1 ? args[1] : "w");
            float x0 = Num(args, 2), y0 = Num(args, 3), x1 = Num(args, 4), y1 = Num(args, 5);
            int n = (int)Num(args, 6, 5);
            for (int j = 0; j < n; j++)
                for (int i = 0; i < n; i++)
                    fill(ShapeRoundRect(X(x0 + (x1 - x0) * i / n), Y(y0 + (y1 - y0) * j / n), (x1 - x0) * size / n,
                                        (y1 - y0) * size / n, 0),
                         ((i + j) % 2) ? c2 : c);
        }
        else if (op == "line")
            fill(clipped(ShapeSegment(X(Num(args, 1)), Y(Num(args, 2)), X(Num(args, 3)), Y(Num(args, 4)), Num(args, 5) * size * 0.5f)),
                 c);
        else if (op == "starsring" || op == "starsarc")
        {
            float cx = Num(args, 1), cy = Num(args, 2), ring = Num(args, 3);
            int n = (int)Num(args, 4, 12);
            float r = Num(args, 5, 0.03f);
            for (int k = 0; k < n; k++)
            {
                float a = op == "starsarc" ? -1.1f + 2.2f * k / std::max(1, n - 1) : 6.2831853f * k / n;
                star(c, cx + std::sin(a) * ring, cy - std::cos(a) * ring, r, 5, 0.4f);
            }
        }
        else if (op == "dots")
        {
            float x0 = Num(args, 1), y0 = Num(args, 2), x1 = Num(args, 3), y1 = Num(args, 4);
            int nx = (int)Num(args, 5, 5), ny = (int)Num(args, 6, 4);
            for (int j = 0; j < ny; j++)
                for (int i = 0; i < nx; i++)
                {
                    float u = x0 + (x1 - x0) * (i + 0.5f) / nx, v = y0 + (y1 - y0) * (j + 0.5f) / ny;
                    fill(ShapeCircle(X(u), Y(v), size * 0.018f), c);
                }
        }
    }
}

DgImage Atlas(int cell)
{
    // Drawn at 64 pixels per flag (and reduced for the small atlas), with a fine dark
    // edge and a soft light sheen so that flags read as little tiles on any background.
    const int big = 64;
    DgImage atlas = ImageCreate(big * 16, big * 16);
    for (int i = 0; i < 224; i++)
    {
        if (!kFlags[i][0])
            continue;
        float ox = (float)(i % 16) * big, oy = (float)(i / 16) * big;
        DrawFlag(atlas, kFlags[i], ox, oy, (float)big);
        DgShape tile = ShapeRoundRect(ox, oy, big, big, 0);
        ImageFillShape(atlas, ShapeIntersect(ShapeOutline(tile, 1.0f), tile),
                       PaintSolid(ColourRgb(0, 0, 0, 0.35f)), ox, oy, ox + big, oy + big);
        ImageFillShape(atlas, ShapeRoundRect(ox + 1, oy + 1, big - 2, big * 0.45f, 0),
                       PaintLinear(0, oy, 0, oy + big * 0.45f, ColourRgb(1, 1, 1, 0.18f), ColourRgb(1, 1, 1, 0.0f)), ox, oy,
                       ox + big, oy + big);
    }
    if (cell == big)
        return atlas;
    return ImageResize(atlas, cell * 16, cell * 16);
}
} // namespace

void GenFlags()
{
    DgImage big = Atlas(64);
    OutPicture("Common/CountryFlags1024.png", big);
    OutPicture("Common/CountryFlags512.png", ImageResize(big, 512, 512));
}
