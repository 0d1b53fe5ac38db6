# The HTTP answer reader's harness, beside the network layer's other answers.
korvane_add_fuzzer(httpanswer)
