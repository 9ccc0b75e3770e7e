// Loops a uart_core_core's txd back to its rxd and sends every word of a few patterns;
// each must come back unchanged and without an error. Prints one line starting with
// PASS or FAIL.
module tb_uart_core;
    parameter integer DATA_BITS = 8;
    parameter PARITY = "none";
    parameter integer STOP_BITS = 1;

    reg clk = 0, rst = 1, tx_valid = 0;
    reg [DATA_BITS-1:0] tx_data = 0;
    wire [DATA_BITS-1:0] rx_data;
    wire tx_ready, rx_valid, rx_error, line;
    integer n, errors = 0, received = 0;
    reg [DATA_BITS-1:0] expected[0:3];

    // 16 clocks a bit keeps the run short.
    uart_core_core #(.CLK_FREQ_HZ(1600000), .BAUD_RATE(100000), .DATA_BITS(DATA_BITS),
                     .PARITY(PARITY), .STOP_BITS(STOP_BITS)) dut (
        .clk(clk), .rst(rst), .tx_data(tx_data), .tx_valid(tx_valid), .tx_ready(tx_ready),
        .rx_data(rx_data), .rx_valid(rx_valid), .rx_error(rx_error), .txd(line), .rxd(line));

    always #5 clk = ~clk;

    always @(posedge clk)
        if (rx_valid) begin
            if (rx_error || rx_data !== expected[received]) errors = errors + 1;
            received = received + 1;
        end

    initial begin
        expected[0] = 0;
        expected[1] = {DATA_BITS{1'b1}};
        expected[2] = {(DATA_BITS / 2) {2'b01}};
        expected[3] = 1;
        #20 @(negedge clk) rst = 0;
        for (n = 0; n < 4; n = n + 1) begin
            while (!tx_ready) @(negedge clk);
            tx_data = expected[n];
            tx_valid = 1;
            @(negedge clk) tx_valid = 0;
        end
        repeat (16 * 16) @(negedge clk);
        if (errors == 0 && received == 4) $display("PASS uart DATA_BITS=%0d PARITY=%0s", DATA_BITS, PARITY);
        else $display("FAIL uart: %0d of 4 received, %0d wrong", received, errors);
        $finish;
    end
endmodule
