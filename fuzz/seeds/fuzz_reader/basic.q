Title
)t 30
)" 1
)@ 2
)f LOG.TXT
)<
fail
)> 10
ok
)* 2
):Div
)?
Question
)! 1
yes
)! 0
no
)/ c
x
)/
):
