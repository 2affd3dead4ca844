; A small UxROM game's text, as a game keeps it: strings ended by $FF, a
; table of pointers to them in bank 0, a split table in bank 1, a message
; and its pointer in the fixed bank, and the reset vectors. Built by ca65 and ld65 (game.cfg, or
; trainer.cfg with TRAINER defined for a ROM with a trainer). With NES2
; defined, the same game under a NES 2.0 header of every field; with
; TABLES, a bank 2 of a larger game's tables, one stored as pairs and one
; split.

.segment "HEADER"
        .byte "NES", $1A
        .byte 4                         ; PRG-ROM: 4 banks of 16 KiB
        .byte 1                         ; CHR-ROM: 8 KiB
.if .defined(TRAINER)
        .byte $25                       ; mapper 2, a trainer, vertical mirroring
.elseif .defined(NES2)
        .byte $23                       ; mapper 2, battery, vertical mirroring
.else
        .byte $21                       ; mapper 2, vertical mirroring
.endif
.ifdef NES2
        .byte $08                       ; NES 2.0, a NES/Famicom
        .byte $10                       ; submapper 1
        .byte $00                       ; no more ROM than bytes 4 and 5 say
        .byte $70                       ; 8 KiB of PRG-NVRAM
        .byte $07                       ; 8 KiB of CHR-RAM too
        .byte $02                       ; multiple regions
        .byte $00, $00
        .byte $01                       ; standard controllers
.else
        .byte $00
        .res 8, 0
.endif

.ifdef TRAINER
.segment "TRAINER"
        .res 512, $00
.endif

; The game's letters: A-Z from $0A, digits from $00, a space $24 (by their
; ASCII codes: a character constant would itself be mapped).
.repeat 26, i
        .charmap $41 + i, $0A + i  ; A-Z
.endrepeat
.repeat 10, i
        .charmap $30 + i, i        ; 0-9
.endrepeat
        .charmap $20, $24

END = $FF
TH = $30                                ; two letters a byte, as games pack text
E_ = $31                                ; "E "

.segment "BANK0"
code:   .res 16, $EA
table:  .word hello, the_end, hello
hello:  .byte "HELLO WORLD", END
the_end:
        .byte TH, E_, "END", END

BREAK = $FE                             ; a line break in the game's text
WAIT = $FD                              ; a control code and its one parameter

; Bank 1 keeps its pointers split, the low bytes apart from the high, and a
; string that is the tail of another.
.segment "BANK1"
        .res 16, $EA
lows:   .lobytes press, start, wait, item, start
highs:  .hibytes press, start, wait, item, start
press:  .byte "PRESS "
start:  .byte "START", BREAK, "TO PLAY", END
wait:   .byte WAIT, $05, "WAIT", END
item:   .byte "ITEM ", END
.segment "BANK2"
        .res 16, $EA
.ifdef TABLES
; Ten messages through a table of pairs, and nine through split arrays.
pairs:  .word m0, m1, m2, m3, m4, m5, m6, m7, m8, m9
m0:     .byte "NEW GAME", END
m1:     .byte "LOAD", END
m2:     .byte "OPTIONS", END
m3:     .byte "SOUND", BREAK, "ON", END
m4:     .byte "SOUND", BREAK, "OFF", END
m5:     .byte "SAVED", END
m6:     .byte WAIT, $10, "READY", END
m7:     .byte TH, E_, "CASTLE", END
m8:     .byte "GAME OVER", END
m9:     .byte "THANK YOU", END
splitlo: .lobytes n0, n1, n2, n3, n4, n5, n6, n7, n8
        .res 5, $EA
splithi: .hibytes n0, n1, n2, n3, n4, n5, n6, n7, n8
n0:     .byte "NORTH", END
n1:     .byte "SOUTH", END
n2:     .byte "EAST", END
n3:     .byte "WEST", END
n4:     .byte "UP", END
n5:     .byte "DOWN", END
n6:     .byte "LEFT", END
n7:     .byte "RIGHT", END
n8:     .byte "STAY", END
.endif

.segment "FIXED"
reset:  .res 16, $EA
message:
        .byte "CONTINUE", END
        .word message

.segment "VECTORS"
        .word reset, reset, reset

.segment "CHARS"
        .res $2000, $00
