BTAPAR1\ NR\ "2"\ ; settings
[General]
KNW=1
Point=1000

[BTAPAR0]
NR=1
ATR="A1"
DBF=NAZWA
no equals here
[broken
=
