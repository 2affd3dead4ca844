; A small UxROM game's text, as a game keeps it: strings ended by $FF, a
; table of pointers to them in bank 0, a split table in bank 1, a message
; and its pointer in the fixed bank, and the reset vectors. Built by ca65 and ld65 (game.cfg, or
; trainer.cfg with TRAINER defined for a ROM with a trainer).

.segment "HEADER"
        .byte "NES", $1A
        .byte 4                         ; PRG-ROM: 4 banks of 16 KiB
        .byte 1                         ; CHR-ROM: 8 KiB
.ifdef TRAINER
        .byte $25                       ; mapper 2, a trainer, vertical mirroring
.else
        .byte $21                       ; mapper 2, vertical mirroring
.endif
        .byte $00
        .res 8, 0

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

.segment "FIXED"
reset:  .res 16, $EA
message:
        .byte "CONTINUE", END
        .word message

.segment "VECTORS"
        .word reset, reset, reset

.segment "CHARS"
        .res $2000, $00
